#!/usr/bin/env bash
# Runs every benchmark of a release build on a generated corpus and compares
# the reader's throughput with `wc -w` on the same file.
#
#   bash bench/run.sh BUILD_DIR      (BUILD_DIR configured with -DKORVANE_BENCH=ON)
#
# The corpus (one 100 MiB text, and a 20 MiB corpus of 20 texts for the
# benchmarks that want several) is generated once under BUILD_DIR/bench-data
# and reused. The benchmarks find them through the environment:
#   KORVANE_BENCH_FILE  the 100 MiB text
#   KORVANE_BENCH_DIR   the folder of the 20-text corpus
set -euo pipefail

build=${1:?usage: bench/run.sh BUILD_DIR}
here=$(cd "$(dirname "$0")" && pwd)
data="$build/bench-data"

export KORVANE_BENCH_FILE="$data/single/text_000.txt"
export KORVANE_BENCH_DIR="$data/corpus"
if [ ! -f "$KORVANE_BENCH_FILE" ]; then
  echo "Generating a 100 MiB text in $data/single ..."
  python3 "$here/gen_corpus.py" --size-mb 100 --files 1 --out "$data/single" >/dev/null
fi
if [ ! -d "$KORVANE_BENCH_DIR" ]; then
  echo "Generating a 20-text corpus in $KORVANE_BENCH_DIR ..."
  python3 "$here/gen_corpus.py" --size-mb 20 --files 20 --seed 2 --out "$KORVANE_BENCH_DIR" >/dev/null
fi
size=$(stat -c %s "$KORVANE_BENCH_FILE")

shopt -s nullglob
benches=("$build"/bench/*_bench)
if [ ${#benches[@]} -eq 0 ]; then
  echo "No benchmarks in $build/bench; configure with -DKORVANE_BENCH=ON and build." >&2
  exit 1
fi

results=()
for bench in "${benches[@]}"; do
  json="$data/$(basename "$bench").json"
  "$bench" --benchmark_out="$json" --benchmark_out_format=json
  results+=("$json")
done

# wc -w on the same file, in CPU time as the benchmarks report it: best of
# three runs, after one to warm the cache.
wc_seconds=$(python3 - "$KORVANE_BENCH_FILE" <<'EOF'
import resource, subprocess, sys
def cpu():
    r = resource.getrusage(resource.RUSAGE_CHILDREN)
    return r.ru_utime + r.ru_stime
subprocess.run(["wc", "-w", sys.argv[1]], stdout=subprocess.DEVNULL, check=True)
best = None
for _ in range(3):
    before = cpu()
    subprocess.run(["wc", "-w", sys.argv[1]], stdout=subprocess.DEVNULL, check=True)
    spent = cpu() - before
    best = spent if best is None else min(best, spent)
print(max(best, 1e-6))
EOF
)

echo
echo "Throughput on $KORVANE_BENCH_FILE ($size bytes), CPU time, MB = 10^6 bytes:"
python3 - "$size" "$wc_seconds" "${results[@]}" <<'EOF'
import json, sys
size, wc_seconds = int(sys.argv[1]), float(sys.argv[2])
for path in sys.argv[3:]:
    with open(path) as f:
        for b in json.load(f)["benchmarks"]:
            if "bytes_per_second" in b:
                print(f"  {b['name']:<40} {b['bytes_per_second'] / 1e6:9.1f} MB/s")
print(f"  {'wc -w':<40} {size / wc_seconds / 1e6:9.1f} MB/s")
EOF
bash "$here/search_bench.sh" "$build"
bash "$here/regex_search_bench.sh" "$build"
bash "$here/collector_bench.sh" "$build"
