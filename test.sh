#!/usr/bin/env bash
# Set-up, build and every test, on a fresh machine or an existing checkout.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/install-deps
./scripts/build
ctest --test-dir build --output-on-failure -j2 "$@"
./scripts/test-package
