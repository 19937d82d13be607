#!/usr/bin/env bash
# Times the corpus word count and the batch frequency file of korvane-cli
# against `tr -cs 'A-Za-z' '\n' | sort | uniq -c` on one generated corpus.
#
#   bash bench/wordcount_bench.sh BUILD_DIR     (a release build with korvane-cli)
#
# The corpus (200 MiB in 20 texts) is generated once under
# BUILD_DIR/bench-data/freq200 and reused. Each command runs three times
# after one warm-up run; the best CPU time (user + system of the command and
# its children) and the best wall time are reported, as running words per
# second (the count's own total of tokens) and MB/s (MB = 10^6 bytes). The
# count is single-threaded, so CPU time is the time on one core.
set -euo pipefail

build=${1:?usage: bench/wordcount_bench.sh BUILD_DIR}
here=$(cd "$(dirname "$0")" && pwd)
cli="$build/korvane-cli"
corpus="$build/bench-data/freq200"
[ -x "$cli" ] || { echo "No $cli; build the korvane-cli target first." >&2; exit 1; }

KORVANE_BENCH_LIB="$here" python3 - "$cli" "$corpus" <<'PY'
import glob, json, os, re, subprocess, sys
sys.path.insert(0, os.environ["KORVANE_BENCH_LIB"])
from benchlib import corpus_files, measure

cli, corpus = sys.argv[1], sys.argv[2]
files = corpus_files(corpus)
size = sum(os.path.getsize(f) for f in files)


base = [cli, "--ini", "/dev/null", "--quiet"]
quoted = " ".join("'" + f + "'" for f in files)
cases = [
    ("tr | sort | uniq -c", ["bash", "-c", f"cat {quoted} | tr -cs 'A-Za-z' '\\n' | LC_ALL=C sort | uniq -c | wc -l"]),
    ("korvane-cli info --count", base + ["info", "--count"] + files),
    ("korvane-cli batchfreq", base + ["--set", "FrequencyConfiguration.MinimumFrequency=1", "batchfreq"] + files),
    ("korvane-cli batchfreq --alpha", base + ["--set", "FrequencyConfiguration.MinimumFrequency=1", "batchfreq", "--alpha"] + files),
]
tokens = None
results = []
for name, argv in cases:
    cpu, wall, out = measure(argv)
    if name.startswith("korvane-cli info"):
        m = re.match(r"([\d,]+) words, ([\d,]+) types", out)
        tokens = int(m.group(1).replace(",", ""))
        types = int(m.group(2).replace(",", ""))
    results.append((name, cpu, wall))
print(f"Word count on {len(files)} texts, {size} bytes, {tokens} running words, {types} types:")
print(f"  {'command':<32} {'CPU s':>7} {'wall s':>7} {'Mwords/s CPU':>13} {'MB/s CPU':>9}")
for name, cpu, wall in results:
    print(f"  {name:<32} {cpu:7.2f} {wall:7.2f} {tokens / cpu / 1e6:13.1f} {size / cpu / 1e6:9.1f}")
tr_cpu = results[0][1]
count_cpu = results[1][1]
print(f"  word count / tr pipeline: {tr_cpu / count_cpu:.2f} times its throughput in CPU time "
      f"(target: at least 20 million words per second on one core)")
PY
