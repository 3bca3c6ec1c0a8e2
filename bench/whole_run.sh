#!/usr/bin/env bash
# The whole-run benchmark: an extraction of nearly every station of each of the nine
# variables (a box over the whole globe), timed beside the floor, a plain hand-written pass
# that parses every record of the same data file and writes it back as (i4,12i5); then the
# record engine's own read-and-write loop over v2.mean against the same floor.
#
#   bench/whole_run.sh [--dataset v2|v4] [--scale small|medium|full] [--seed N] [--repeat N]
#                      [--build DIR] [--stand-in] [DIR]
#
# With --dataset v4 (bench/whole_run_v4.sh) the run is over the version 4 QCU file instead:
# every station selected and the three CSV files written, beside its own floor and
# pandas.read_fwf; --stand-in times the engine's loop in place of corvane-extract.
#
# DIR holds the data set; when it has no v2.mean, the data set of the scale and seed is
# generated there first (default DIR: BUILD/bench-data/SCALE-SEED). Each run leaves its
# transcript and output files in DIR/run-V. Times are the best of --repeat runs (default 3);
# peak memory is the largest resident size of any of them. Build first with scripts/build.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
scale=full
seed=1
repeat=3
build="$root/build"
dir=""
dataset=v2
stand_in=""
while [ $# -gt 0 ]; do
    case "$1" in
        --dataset) dataset="$2"; shift 2 ;;
        --stand-in) stand_in=1; shift ;;
        --scale) scale="$2"; shift 2 ;;
        --seed) seed="$2"; shift 2 ;;
        --repeat) repeat="$2"; shift 2 ;;
        --build) build="$(cd "$2" && pwd)"; shift 2 ;;
        -*) echo "unknown option $1" >&2; exit 2 ;;
        *) dir="$1"; shift ;;
    esac
done
case "$dataset" in
    v2) ;;
    v4) exec "$root/bench/whole_run_v4.sh" "$scale" "$seed" "$repeat" "$build" "$stand_in" "$dir" ;;
    *) echo "unknown data set $dataset (v2 or v4)" >&2; exit 2 ;;
esac
dir="${dir:-$build/bench-data/$scale-$seed}"
measure="$build/bench/corvane-measure-run"
for program in "$build/corvane-console" "$measure" "$build/bench/corvane-floor-copy" \
               "$build/bench/corvane-engine-copy" "$build/tests/data_set/corvane-make-data-set"; do
    [ -x "$program" ] || { echo "missing $program: build first (scripts/build)" >&2; exit 1; }
done

if [ ! -f "$dir/v2.mean" ]; then
    echo "generating the $scale data set (seed $seed) in $dir"
    "$build/tests/data_set/corvane-make-data-set" --out "$dir" --scale "$scale" --seed "$seed" \
        --countries "$root/examples/ghcn-v2-sample/v2.country.codes"
fi
dir="$(cd "$dir" && pwd)"

data_files=(v2.mean v2.mean_adj v2.min v2.min_adj v2.max v2.max_adj v2.prcp v2.prcp_adj v2.slp)

# best_of N COMMAND...: runs the measurement N times; prints the least wall time and the
# largest peak memory (KiB); fails on a non-zero exit status.
best_of() {
    local n="$1"; shift
    local best="" peak=0 wall kib status
    for ((i = 0; i < n; i++)); do
        read -r wall kib status < <("$measure" "$@")
        [ "$status" = 0 ] || { echo "exit status $status: $*" >&2; return 1; }
        if [ -z "$best" ] || awk "BEGIN { exit !($wall < $best) }"; then best="$wall"; fi
        if [ "$kib" -gt "$peak" ]; then peak="$kib"; fi
    done
    echo "$best $peak"
}

printf '%-3s %-12s %9s %8s %7s %10s %9s %9s %7s\n' \
    var "data file" records selected found "extract s" "peak MB" "floor s" ratio
worst_peak=0
for v in 1 2 3 4 5 6 7 8 9; do
    data="${data_files[$((v - 1))]}"
    work="$dir/run-$v"
    rm -rf "$work"
    mkdir -p "$work"
    for f in "$dir"/v2.*; do ln -s "$f" "$work/"; done
    # Variable, confirm, select by area, the whole globe, accept, no longitude change,
    # accept, continue, and Return at the end.
    printf '%s\nT\n2\n90.00\n-90.00\n180.00\n-180.00\nT\nF\nT\nT\n\n' "$v" >"$work/answers"
    read -r floor_s _ < <(best_of "$repeat" --out /dev/null -- \
                              "$build/bench/corvane-floor-copy" "$dir/$data" "$work/floor.out")
    read -r run_s peak < <(cd "$work" && best_of "$repeat" --in answers --out transcript.txt -- \
                                              "$build/corvane-console")
    records=$(wc -l <"$dir/$data")
    selected=$(tr -d '\r' <"$work/GHCNv2_Log_File" |
               awk '/Stations listed in inventory file/ && !n { n = $1 } END { print n }')
    found=$(tr -d '\r' <"$work/transcript.txt" | awk '/STATIONS RECORDS FOUND/ { n = $1 } END { print n }')
    if [ "$peak" -gt "$worst_peak" ]; then worst_peak="$peak"; fi
    rm -f "$work/floor.out"
    awk -v v="$v" -v d="$data" -v r="$records" -v s="$selected" -v f="$found" -v t="$run_s" -v p="$peak" \
        -v fl="$floor_s" 'BEGIN { printf "%-3s %-12s %9d %8d %7d %10.3f %9.1f %9.3f %7.2f\n",
                                  v, d, r, s, f, t, p / 1024, fl, t / fl }'
    if [ "$v" = 1 ]; then mean_floor="$floor_s"; fi
done

read -r engine_s engine_peak < <(best_of "$repeat" --out /dev/null -- \
                                     "$build/bench/corvane-engine-copy" "$dir/v2.mean" \
                                     "$dir/engine.out")
rm -f "$dir/engine.out"
awk -v t="$engine_s" -v fl="$mean_floor" -v p="$engine_peak" 'BEGIN {
    printf "\nengine read-and-write loop over v2.mean: %.3f s, %.1f MB, %.2f times the floor (%.3f s)\n",
           t, p / 1024, t / fl, fl }'
awk -v p="$worst_peak" 'BEGIN { printf "largest peak memory of an extraction: %.1f MB\n", p / 1024 }'
