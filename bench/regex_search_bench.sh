#!/usr/bin/env bash
# Times regular-expression searches of korvane-cli against GNU grep -E on the
# corpus of the search benchmark.
#
#   bash bench/regex_search_bench.sh BUILD_DIR   (a release build with korvane-cli)
#
# The corpus (200 MiB in 20 texts) is the one bench/search_bench.sh uses,
# under BUILD_DIR/bench-data/search200; it is generated here when missing.
# Each command runs three times after one warm-up run; the best CPU time
# (user + system) and the best wall time are reported as MB/s (MB = 10^6
# bytes), with the ratio of grep's time to ours for the same expression.
# grep writes into a pipe: with its output on /dev/null it would stop at the
# first match. grep counts matching lines and korvane-cli matches, so the two
# counts differ where a line holds several matches; the work is the same
# scan of every byte. Both run case-sensitively, grep in the C locale (bytes,
# as our engine matches).
set -euo pipefail

build=${1:?usage: bench/regex_search_bench.sh BUILD_DIR}
here=$(cd "$(dirname "$0")" && pwd)
cli="$build/korvane-cli"
corpus="$build/bench-data/search200"
[ -x "$cli" ] || { echo "No $cli; build the korvane-cli target first." >&2; exit 1; }

KORVANE_BENCH_LIB="$here" python3 - "$cli" "$corpus" <<'PYEOF'
import glob, json, os, subprocess, sys
sys.path.insert(0, os.environ["KORVANE_BENCH_LIB"])
from benchlib import corpus_files, measure

cli, corpus = sys.argv[1], sys.argv[2]
files = corpus_files(corpus)
size = sum(os.path.getsize(f) for f in files)


search = [cli, "--ini", "/dev/null", "--quiet", "search", "--regex", "--case-sensitive",
          "--count", "--max-hits", "2147483647"]
patterns = [
    ("literal", "captain"),
    ("five words", "captain|harbour|river|letter|morning"),
    ("classes", r"[A-Z][a-z]+ing\b"),
]
print(f"Regular-expression search on {len(files)} texts, {size} bytes (MB = 10^6 bytes):")
print(f"  {'command':<46} {'CPU MB/s':>9} {'wall MB/s':>10} {'count':>9} {'CPU ratio':>10} {'wall ratio':>10}")
for name, pattern in patterns:
    grep_cpu, grep_wall, out = measure(["env", "LC_ALL=C", "grep", "-c", "-E", pattern] + files)
    lines = sum(int(line.rsplit(":", 1)[-1]) for line in out.split())
    ours_cpu, ours_wall, count = measure(search + [pattern] + files)
    print(f"  {'grep -c -E ' + pattern:<46} {size / grep_cpu / 1e6:9.1f} {size / grep_wall / 1e6:10.1f} "
          f"{str(lines) + 'L':>9}")
    print(f"  {'korvane-cli ' + name:<46} {size / ours_cpu / 1e6:9.1f} {size / ours_wall / 1e6:10.1f} "
          f"{count.strip():>9} {grep_cpu / ours_cpu:10.2f} {grep_wall / ours_wall:10.2f}")
print("  (ratio: grep's time over korvane-cli's, 1.00 = as fast as grep)")
PYEOF
