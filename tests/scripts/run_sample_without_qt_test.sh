#!/usr/bin/env bash
# scripts/run-sample on a machine without Qt 6: in a copy of the source tree, with Qt hidden
# from CMake and every package reported as installed, it builds the console program and
# runs the sample dialogue to the same files and transcript as the end-to-end fixture. A
# configure that asks for the desktop program (the default) stops with a message that
# names Qt 6 and the way round it.
# Usage: run_sample_without_qt_test.sh SOURCE_DIR FIXTURES_DIR
set -euo pipefail
source_dir="$1"
fixtures="$2/sample_samoa"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

mkdir -p "$work/src" "$work/bin"
tar -C "$source_dir" --exclude='./build*' --exclude=./.git --exclude=./sample-run -cf - . | tar -C "$work/src" -xf -

# Stand-ins ahead of the real tools: no package is missing, and every configure runs with
# Qt hidden, as on a machine where it is not installed.
cat > "$work/bin/dpkg-query" <<'STUB'
#!/bin/bash
echo -n "install ok installed"
STUB
real_cmake="$(command -v cmake)"
cat > "$work/bin/cmake" <<STUB
#!/bin/bash
for arg in "\$@"; do
    [ "\$arg" = -S ] && exec "$real_cmake" -DCMAKE_DISABLE_FIND_PACKAGE_Qt6=ON "\$@"
done
exec "$real_cmake" "\$@"
STUB
chmod +x "$work/bin"/*
export PATH="$work/bin:$PATH"

# The desktop program asked for without Qt: a clear stop at configure time.
set +e
cmake -S "$work/src" -B "$work/desktop" -G Ninja -DCORVANE_TESTS=OFF -DCORVANE_BENCHMARKS=OFF \
    > "$work/desktop.out" 2>&1
status=$?
set -e
[ $status -ne 0 ] || fail "configure with the desktop program and without Qt succeeded"
grep -q "The desktop program corvane needs Qt 6" "$work/desktop.out" || fail "no message naming Qt 6"
grep -q -- "-DCORVANE_DESKTOP=OFF" "$work/desktop.out" || fail "the message does not name -DCORVANE_DESKTOP=OFF"

# run-sample builds and runs the console program all the same.
set +e
"$work/src/scripts/run-sample" "$work/run" < "$fixtures/input" > "$work/out" 2> "$work/err"
status=$?
set -e
[ $status -eq 0 ] || fail "run-sample: status $status: $(tail -20 "$work/err")"
[ -x "$work/src/build-sample/corvane-console" ] || fail "no console program in build-sample/"
[ -e "$work/src/build-sample/corvane" ] && fail "the desktop program was built"
# The build's progress comes first on standard output, then the run's directory, then the dialogue.
sed -n '/^Data and output files are in /,$p' "$work/out" | tail -n +2 | cmp -s - "$fixtures/stdout" ||
    fail "the transcript differs from the fixture's"
for file in GHCNv2_Log_File GHCNv2_tsf GHCNv2_Failed_Values_File; do
    cmp -s "$work/run/$file" "$fixtures/$file" || fail "$file differs from the fixture's"
done

[ $failures -eq 0 ] && echo "all cases passed"
exit $((failures > 0))
