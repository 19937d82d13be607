"""Shared pieces of the benchmark scripts: the generated corpus and the
timing of one command (best CPU and wall time of three runs after a warm-up,
measured from a child interpreter so that only the command's runs count)."""
import glob, json, os, subprocess, sys

HERE = os.path.dirname(os.path.abspath(__file__))


def corpus_files(folder, size_mb=200, files=20):
    """The texts of a generated corpus, generated once under folder."""
    if not os.path.isdir(folder):
        print(f"Generating a {size_mb} MiB corpus of {files} texts in {folder} ...", flush=True)
        subprocess.run([sys.executable, os.path.join(HERE, "gen_corpus.py"), "--size-mb", str(size_mb),
                        "--files", str(files), "--out", folder], stdout=subprocess.DEVNULL, check=True)
    return sorted(glob.glob(os.path.join(folder, "*.txt")))


_MEASURE = r'''
import resource, subprocess, sys, time, json
argv, runs = json.loads(sys.argv[1]), int(sys.argv[2])
def cpu():
    r = resource.getrusage(resource.RUSAGE_CHILDREN)
    return r.ru_utime + r.ru_stime
out = subprocess.run(argv, stdout=subprocess.PIPE, check=True).stdout
best_cpu = best_wall = None
for _ in range(runs):
    c, w = cpu(), time.perf_counter()
    out = subprocess.run(argv, stdout=subprocess.PIPE, check=True).stdout
    c, w = cpu() - c, time.perf_counter() - w
    best_cpu = c if best_cpu is None else min(best_cpu, c)
    best_wall = w if best_wall is None else min(best_wall, w)
print(json.dumps([best_cpu, best_wall, out.decode(errors="replace")[:65536]]))
'''


def measure(argv, runs=3):
    """Best CPU seconds, best wall seconds and the output of argv."""
    result = subprocess.run([sys.executable, "-c", _MEASURE, json.dumps(argv), str(runs)],
                            stdout=subprocess.PIPE, check=True).stdout
    return json.loads(result)
