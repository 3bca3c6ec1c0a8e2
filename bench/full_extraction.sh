#!/usr/bin/env bash
# Times a whole extraction that selects every station: mean temperature, a box over the
# whole globe, run in the data set directory DIR (which receives the three output files).
# Prints the wall time and the peak memory of the program.
#   bench/full_extraction.sh DIR [PROGRAM]
set -euo pipefail
dir="$1"
root="$(cd "$(dirname "$0")/.." && pwd)"
program="${2:-$root/build/corvane-console}"
answers=$'1\nT\n2\n90.00\n-90.00\n180.00\n-180.00\nT\nF\nT\nT\n\n'
cd "$dir"
python3 - "$program" "$answers" <<'PY'
import resource, subprocess, sys, time
program, answers = sys.argv[1], sys.argv[2]
start = time.monotonic()
done = subprocess.run([program], input=answers.encode(), stdout=subprocess.PIPE)
wall = time.monotonic() - start
peak_kib = resource.getrusage(resource.RUSAGE_CHILDREN).ru_maxrss
tail = done.stdout.decode(errors="replace").splitlines()[-6:]
print("\n".join(tail))
print(f"exit status {done.returncode}, wall time {wall:.2f} s, peak memory {peak_kib / 1024:.1f} MiB")
PY
