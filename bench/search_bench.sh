#!/usr/bin/env bash
# Times korvane-cli searches against GNU grep on one generated corpus.
#
#   bash bench/search_bench.sh BUILD_DIR     (a release build with korvane-cli)
#
# The corpus (200 MiB in 20 texts) is generated once under
# BUILD_DIR/bench-data/search200 and reused. Each command runs three times
# after one warm-up run (so the files are in the page cache); the best CPU
# time (user + system) and the best wall time are reported as MB/s
# (MB = 10^6 bytes), with the ratio to `grep -c -w -i` for the same word.
# grep writes into a pipe: with its output on /dev/null it would stop at the
# first match. The peak memory of the one-word search is measured on 2 and on
# 20 texts of the same corpus: a scan in constant memory needs the same on
# both.
set -euo pipefail

build=${1:?usage: bench/search_bench.sh BUILD_DIR}
here=$(cd "$(dirname "$0")" && pwd)
cli="$build/korvane-cli"
corpus="$build/bench-data/search200"
[ -x "$cli" ] || { echo "No $cli; build the korvane-cli target first." >&2; exit 1; }

KORVANE_BENCH_LIB="$here" python3 - "$cli" "$corpus" <<'EOF'
import glob, os, resource, subprocess, sys, time
sys.path.insert(0, os.environ["KORVANE_BENCH_LIB"])
from benchlib import corpus_files, measure

cli, corpus = sys.argv[1], sys.argv[2]
files = corpus_files(corpus)
size = sum(os.path.getsize(f) for f in files)
word = "captain"

def peak_kib(argv):
    """Peak resident memory of one run, from GNU time (the fork of a Python
    process would report the interpreter's own size)."""
    r = subprocess.run(["/usr/bin/time", "-f", "%M"] + argv, stdout=subprocess.DEVNULL,
                       stderr=subprocess.PIPE, check=True)
    return int(r.stderr.split()[-1])


search = [cli, "--ini", "/dev/null", "--quiet", "search", "--count", "--max-hits", "2147483647"]
cases = [
    ("grep -c -w -i " + word, ["grep", "-c", "-w", "-i", word] + files),
    ("one word: " + word, search + [word] + files),
    ("wildcard: capt%in", search + ["capt%in"] + files),
    ("wildcard: *ain", search + ["*ain"] + files),
    ("three words: the captain was", search + ["the captain was"] + files),
]
print(f"Search throughput on {len(files)} texts, {size} bytes (MB = 10^6 bytes):")
print(f"  {'command':<34} {'CPU MB/s':>9} {'wall MB/s':>10} {'hits':>8}")
grep_cpu = grep_wall = None
for name, argv in cases:
    cpu, wall, out = measure(argv)
    if grep_cpu is None:
        grep_cpu, grep_wall = cpu, wall
        hits = sum(int(line.rsplit(":", 1)[-1]) for line in out.split())
        hits = f"{hits}L"  # grep counts lines
    else:
        hits = out.strip()
    print(f"  {name:<34} {size / cpu / 1e6:9.1f} {size / wall / 1e6:10.1f} {hits:>8}")
    if name.startswith("one word"):
        word_cpu, word_wall = cpu, wall
print(f"  one word / grep: {grep_cpu / word_cpu:.2f} of grep's throughput in CPU time, "
      f"{grep_wall / word_wall:.2f} in wall time (target: at least 0.33)")

small_peak = peak_kib(search + [word] + files[:2])
large_peak = peak_kib(search + [word] + files)
print(f"  peak memory of the one-word search: {small_peak} KiB on 2 texts, {large_peak} KiB on {len(files)}")
EOF
