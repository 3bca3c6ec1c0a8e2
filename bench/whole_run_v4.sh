#!/usr/bin/env bash
# The version 4 whole run (whole_run.sh --dataset v4 runs it): an extraction of every station
# of the v4 QCU file (a box over the whole globe) writing stations.csv, values.csv and
# failed_values.csv, timed beside the floor, a hand-written pass that parses every record by
# its columns and writes the same rows, and beside pandas.read_fwf reading the same file;
# then the same extraction writing a netCDF and a GeoJSON file as well, beside the first.
#
#   bench/whole_run_v4.sh SCALE SEED REPEAT BUILD STAND_IN [DIR]
#
# DIR holds the data set; when it has no QCU .dat file, the v4 set of the scale (sample or
# full) and seed is generated there (default DIR: BUILD/bench-data/v4-SCALE-SEED). With
# STAND_IN non-empty the engine's own loop (corvane-ghcnm-engine-copy) is timed in place of
# corvane-extract. Wall time and peak memory are GNU time's; times are the best of REPEAT
# runs (the floor's and the extraction's taken in turn, each after a sync), peak memory the
# largest of them.
set -euo pipefail
scale="$1" seed="$2" repeat="$3" build="$4" stand_in="$5" dir="${6:-}"
[ "$scale" = full ] || [ "$scale" = sample ] || { echo "v4 scales: sample or full" >&2; exit 2; }
dir="${dir:-$build/bench-data/v4-$scale-$seed}"
gnu_time=/usr/bin/time
python=/usr/bin/python3
for program in "$build/bench/corvane-ghcnm-floor" "$build/bench/corvane-ghcnm-engine-copy" \
               "$build/tests/data_set/corvane-make-data-set" "$gnu_time"; do
    [ -x "$program" ] || { echo "missing $program: build first (scripts/build)" >&2; exit 1; }
done
[ -n "$stand_in" ] || [ -x "$build/corvane-extract" ] ||
    { echo "missing $build/corvane-extract: build first (scripts/build)" >&2; exit 1; }

if ! ls "$dir"/ghcnm.tavg.v4.*.qcu.dat >/dev/null 2>&1; then
    echo "generating the $scale v4 data set (seed $seed) in $dir"
    "$build/tests/data_set/corvane-make-data-set" --edition 4 --out "$dir" --scale "$scale" --seed "$seed"
fi
dir="$(cd "$dir" && pwd)"
dat="$(ls "$dir"/ghcnm.tavg.v4.*.qcu.dat | tail -n 1)"
inv="${dat%.dat}.inv"

# The extraction under test, writing into OUT_DIR: the one place its command line is.
extraction() {
    local out="$1"
    shift
    if [ -n "$stand_in" ]; then
        "$build/bench/corvane-ghcnm-engine-copy" "$dat" "$inv" "$out"
    else
        "$build/corvane-extract" --dataset v4 --variable tavg --box 90,-90,180,-180 \
            --data-dir "$dir" --out-dir "$out" --force "$@"
    fi
}
# The same with the outputs for the field's tools.
extraction_for_tools() { extraction "$1" --netcdf "$1/all.nc" --geojson "$1/all.geojson"; }
floor() { "$build/bench/corvane-ghcnm-floor" "$dat" "$inv" "$1"; }
pandas_read() {
    "$python" - "$dat" <<'EOF'
import sys
import pandas
widths = [11, 4, 4] + [5, 1, 1, 1] * 12
names = ["id", "year", "element"] + [f"{k}{m}" for m in range(1, 13)
                                     for k in ("value", "dmflag", "qcflag", "dsflag")]
frame = pandas.read_fwf(sys.argv[1], widths=widths, names=names, header=None,
                        dtype={n: str for n in names if not n.startswith("value")} | {"year": int})
print(len(frame), "records")
EOF
}

# best_of N FUNCTION ARGUMENTS...: runs it N times under GNU time; prints the least wall
# time and the largest peak memory (KiB); fails on a non-zero exit status.
best_of() {
    local n="$1"; shift
    local best="" peak=0 wall kib measured
    measured="$(mktemp)"
    for ((i = 0; i < n; i++)); do
        sync  # the previous run's files go to the disk first, not during this one
        "$gnu_time" -f "%e %M" -o "$measured" bash -c "$(declare -f "$1" extraction); $(declare -p dat inv build \
            stand_in dir python); $*" >/dev/null || { echo "failed: $*" >&2; rm -f "$measured"; return 1; }
        read -r wall kib <"$measured"
        if [ -z "$best" ] || awk "BEGIN { exit !($wall < $best) }"; then best="$wall"; fi
        if [ "$kib" -gt "$peak" ]; then peak="$kib"; fi
    done
    rm -f "$measured"
    echo "$best $peak"
}

work="$dir/run-v4"
rm -rf "$work"
mkdir -p "$work/extract" "$work/floor"
# The floor and the extraction take turns, so that a spell of a busy machine (a shared host,
# the writing back of the previous run's files) falls on both rather than on one.
floor_s="" floor_peak=0 run_s="" peak=0
for ((turn = 0; turn < repeat; turn++)); do
    read -r s kib < <(best_of 1 floor "$work/floor")
    if [ -z "$floor_s" ] || awk "BEGIN { exit !($s < $floor_s) }"; then floor_s="$s"; fi
    if [ "$kib" -gt "$floor_peak" ]; then floor_peak="$kib"; fi
    read -r s kib < <(best_of 1 extraction "$work/extract")
    if [ -z "$run_s" ] || awk "BEGIN { exit !($s < $run_s) }"; then run_s="$s"; fi
    if [ "$kib" -gt "$peak" ]; then peak="$kib"; fi
done
rm -rf "$work/floor"  # half a gigabyte of rows that the extraction's own files repeat
tools_s="" tools_peak=0
if [ -z "$stand_in" ]; then
    mkdir -p "$work/tools"
    read -r tools_s tools_peak < <(best_of "$repeat" extraction_for_tools "$work/tools")
    rm -rf "$work/tools"
fi
records=$(wc -l <"$dat")
stations=$(wc -l <"$work/extract/stations.csv")
if [ -x "$python" ] && "$python" -c 'import pandas' 2>/dev/null; then
    read -r pandas_s pandas_peak < <(best_of 1 pandas_read)
else
    pandas_s="" pandas_peak=0
fi
what=$([ -n "$stand_in" ] && echo "engine loop (stand-in)" || echo "corvane-extract")
awk -v w="$what" -v d="$(basename "$dat")" -v r="$records" -v s="$stations" -v t="$run_s" -v p="$peak" \
    -v fl="$floor_s" -v fp="$floor_peak" -v pd="$pandas_s" -v pp="$pandas_peak" \
    -v ts="$tools_s" -v tp="$tools_peak" 'BEGIN {
    # GNU time counts hundredths: a run too short to register counts as one.
    if (fl < 0.01) fl = 0.01
    if (t < 0.01) t = 0.01
    printf "%s: %d records, %d stations listed\n", d, r, s
    printf "%-24s %8.3f s %8.1f MB\n", w, t, p / 1024
    printf "%-24s %8.3f s %8.1f MB   ratio %.2f\n", "floor", fl, fp / 1024, t / fl
    if (ts != "") printf "%-24s %8.3f s %8.1f MB   %.2f times the CSV-only run\n",
                         "+ --netcdf --geojson", ts, tp / 1024, ts / t
    if (pd != "") printf "%-24s %8.3f s %8.1f MB   %.1f times the extraction\n",
                         "pandas.read_fwf", pd, pp / 1024, pd / t }'
