#!/usr/bin/env bash
# Runs the LZH benchmark: builds vordell-cli and lzh_bench, prepares the files (a text, a program
# binary, three photo-like JPEG pictures), runs every packer and reader on each as whole processes,
# and prints a summary against the targets. Usage: bench/lzh_bench.sh [extra benchmark flags]
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --build build --target vordell-cli lzh_bench -j2 >/dev/null

data=build/bench/lzh-data
mkdir -p "$data"
cat /usr/share/common-licenses/* > "$data/text.txt"
cp /usr/bin/git "$data/program.bin"
gcc -O2 bench/lzh_photogen.c -ljpeg -lm -o build/bench/lzh_photogen
build/bench/lzh_photogen "$data/photo1.jpg" 4000 3000 1
build/bench/lzh_photogen "$data/photo2.jpg" 3264 2448 2
build/bench/lzh_photogen "$data/photo3.jpg" 1920 1080 3

LZH_BENCH_DATA="$PWD/$data" build/bench/lzh_bench --benchmark_min_time=1.0 \
  --benchmark_out=build/bench/lzh_bench.json --benchmark_out_format=json "$@"

python3 - build/bench/lzh_bench.json "$data" <<'PY'
import json, os, sys
runs = [b for b in json.load(open(sys.argv[1]))["benchmarks"] if b.get("run_type", "iteration") == "iteration"]
name = lambda b: b["name"].replace("/real_time", "")
time = {name(b): b["real_time"] for b in runs}
size = {name(b): b.get("packed_bytes") for b in runs}
files = sorted(os.listdir(sys.argv[2]))
ok = True
print("\n%-12s %10s %10s %10s %8s %8s %6s  %8s %8s %8s %8s" % ("file", "original", "ours", "jlha", "pack ms", "jlha ms", "speed",
      "x ours", "lhasa", "7zz", "bsdtar"))
total_ours = total_jlha = 0
for f in files:
    o, j = size["pack/%s/vordell" % f], size["pack/%s/jlha" % f]
    total_ours += o; total_jlha += j
    po, pj = time["pack/%s/vordell" % f], time["pack/%s/jlha" % f]
    x = {r: time["extract/%s/%s" % (f, r)] for r in ("vordell", "lhasa", "7zz", "bsdtar")}
    print("%-12s %10d %10d %10d %8.1f %8.1f %5.1fx  %8.1f %8.1f %8.1f %8.1f" % (f, os.path.getsize(os.path.join(sys.argv[2], f)),
          o, j, po, pj, pj / po, x["vordell"], x["lhasa"], x["7zz"], x["bsdtar"]))
    checks = [(o <= j, "size no larger than jlha"), (pj >= 2 * po, "packing twice as fast as jlha"),
              (x["vordell"] <= x["lhasa"], "extracting as fast as lhasa"),
              (x["vordell"] <= 1.5 * min(x["lhasa"], x["7zz"], x["bsdtar"]), "within 1.5x of the fastest reader")]
    for passed, what in checks:
        if not passed:
            ok = False
            print("  missed: %s" % what)
print("total packed: ours %d, jlha %d (%.2f%%)" % (total_ours, total_jlha, 100.0 * total_ours / total_jlha))
if total_ours >= total_jlha:
    ok = False
    print("  missed: smaller in total")
print("all targets met" if ok else "some targets missed")
PY
