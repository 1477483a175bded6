#!/usr/bin/env bash
# Set-up, build, assemble the program folder and start the program on its shipped data.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/install-deps
./scripts/build
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "run.sh: no display found; starting the program on a virtual display (Xvfb)." >&2
  exec xvfb-run -a -s "-screen 0 1280x1024x24" build/VORDELL/vordell "$@"
fi
exec build/VORDELL/vordell "$@"
