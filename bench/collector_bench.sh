#!/usr/bin/env bash
# Times the tag-information collection of korvane-cli (`korvane-cli tags`:
# line, page and tracked-tag tables and the word count of every text) on one
# generated corpus with page breaks and two kinds of tracked tags, against
# `wc -l -w` on the same files.
#
#   bash bench/collector_bench.sh BUILD_DIR     (a release build with korvane-cli)
#
# The plain corpus (200 MiB in 20 texts, shared with the search benchmark)
# is generated once under BUILD_DIR/bench-data/search200; a tagged copy,
# with "<pb>" before every 50th line, "<sp who=...>" before every 7th and
# "<div n=...>" before every 500th, is written once to
# BUILD_DIR/bench-data/tags200. The collection runs with the page delimiter
# "<pb>" and the tracked tags "<sp>" and "<div>" configured in a settings
# file, and once with no tag settings (lines and words only). Each command
# runs three times after one warm-up run; the best CPU time (user + system)
# and the best wall time are reported as MB/s (MB = 10^6 bytes). Last, the
# texts are saved as a workspace that keeps their tables, and loading them
# plainly is timed against opening that workspace.
set -euo pipefail

build=${1:?usage: bench/collector_bench.sh BUILD_DIR}
here=$(cd "$(dirname "$0")" && pwd)
cli="$build/korvane-cli"
data="$build/bench-data"
[ -x "$cli" ] || { echo "No $cli; build the korvane-cli target first." >&2; exit 1; }

KORVANE_BENCH_LIB="$here" python3 - "$cli" "$data" <<'EOF'
import os, sys
sys.path.insert(0, os.environ["KORVANE_BENCH_LIB"])
from benchlib import corpus_files, measure

cli, data = sys.argv[1], sys.argv[2]
plain = corpus_files(os.path.join(data, "search200"))
tagged_dir = os.path.join(data, "tags200")
if not os.path.isdir(tagged_dir):
    print(f"Writing a tagged copy of the corpus to {tagged_dir} ...", flush=True)
    os.makedirs(tagged_dir + ".part", exist_ok=True)
    speakers = [b"anna", b"ben", b"clara", b"dev"]
    for n, path in enumerate(plain):
        lines = open(path, "rb").read().split(b"\n")
        out = []
        for i, line in enumerate(lines):
            if i % 500 == 0:
                out.append(b"<div n=%d>" % (i // 500 + 1))
            if i % 50 == 0:
                out.append(b"<pb>")
            if i % 7 == 0:
                out.append(b"<sp who=%s>" % speakers[(i // 7) % len(speakers)])
            out.append(line)
            out.append(b"\n")
        out.pop()
        with open(os.path.join(tagged_dir + ".part", os.path.basename(path)), "wb") as f:
            f.write(b"".join(out))
    os.rename(tagged_dir + ".part", tagged_dir)
files = sorted(os.path.join(tagged_dir, f) for f in os.listdir(tagged_dir) if f.endswith(".txt"))
size = sum(os.path.getsize(f) for f in files)

ini = os.path.join(data, "collector_bench.ini")
with open(ini, "w", newline="\r\n") as f:
    f.write("[Tag Settings]\nPageSeparator=<pb>\nWatchedNamesCount=2\n"
            "WatchedNames0=Speaker\nWatchedNames1=Division\n"
            "[Watched.Speaker]\nTagStart=<sp>\nTagStop=</sp>\n"
            "[Watched.Division]\nTagStart=<div>\nTagStop=</div>\n")

cases = [
    ("wc -l -w", ["wc", "-l", "-w"] + files),
    ("korvane-cli tags (lines, words)", [cli, "--ini", "/dev/null", "--quiet", "tags"] + files),
    ("korvane-cli tags (+ <pb>, 2 tags)", [cli, "--ini", ini, "--quiet", "tags"] + files),
]
print(f"Tag-information collection on {len(files)} texts, {size} bytes:")
print(f"  {'command':<36} {'CPU s':>7} {'wall s':>7} {'MB/s CPU':>9} {'MB/s wall':>10}")
pages = None
for name, argv in cases:
    cpu, wall, out = measure(argv)
    if "2 tags" in name:
        rows = [line.split("\t") for line in out.splitlines()[1:] if line]
        pages = sum(int(row[2]) for row in rows)
    print(f"  {name:<36} {cpu:7.2f} {wall:7.2f} {size / cpu / 1e6:9.1f} {size / wall / 1e6:10.1f}")
print(f"  page-table records over all texts: {pages}")

# Loading the same texts again from a workspace that kept their tables and
# word counts: nothing is collected, the saved tables are copied privately.
import subprocess
workspace = os.path.join(data, "collector_bench.KWS")
subprocess.run([cli, "--ini", ini, "--quiet", "workspace-save", workspace, "--keep", "l,t"] + files,
               stdout=subprocess.DEVNULL, check=True)
print(f"Loading the {len(files)} texts with their tables:")
for name, argv in [
    ("korvane-cli info (collects)", [cli, "--ini", ini, "--quiet", "info"] + files),
    ("korvane-cli --workspace info (kept)", [cli, "--ini", "/dev/null", "--quiet", "--workspace", workspace, "info"]),
]:
    cpu, wall, out = measure(argv)
    print(f"  {name:<36} {cpu:7.2f} {wall:7.2f}")
EOF
