#!/usr/bin/env bash
# Times a whole extraction that selects every station: mean temperature, a box over the
# whole globe, run in the data set directory DIR (which receives the three output files
# and the transcript, transcript.txt).
# Prints the end of the transcript, the wall time and the peak memory of the program
# (GNU time, Debian package "time").
#   bench/full_extraction.sh DIR [PROGRAM]
set -euo pipefail
dir="$1"
root="$(cd "$(dirname "$0")/.." && pwd)"
program="${2:-$root/build/corvane-console}"
if [ ! -x /usr/bin/time ]; then
    echo "full_extraction.sh needs GNU time: apt-get install time" >&2
    exit 1
fi
cd "$dir"
printf '1\nT\n2\n90.00\n-90.00\n180.00\n-180.00\nT\nF\nT\nT\n\n' |
    /usr/bin/time -f "exit status %x, wall time %e s, peak memory %M KiB" "$program" 2>&1 >transcript.txt |
    tail -1
tail -n 5 transcript.txt | tr -d '\r'
