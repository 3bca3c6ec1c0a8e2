#!/usr/bin/env bash
# scripts/install-deps and scripts/run-sample with stand-ins for dpkg-query, id, apt-get and
# sudo: as root apt-get runs without sudo; otherwise through sudo when there is one; with
# neither, the apt-get line is printed and the script stops. run-sample asks only for what
# the sample's build needs; the default list includes GNU time for the benchmarks.
# Usage: install_deps_test.sh SOURCE_DIR
set -euo pipefail
source_dir="$1"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# The only programs the scripts find: a few real tools and the stand-ins.
mkdir -p "$work/bin"
for tool in bash grep basename dirname env cat; do ln -s "$(command -v "$tool")" "$work/bin/$tool"; done
cat > "$work/bin/dpkg-query" <<'STUB'
#!/bin/bash
# Reports the packages listed in $INSTALLED as installed, every other one as missing.
for p in $INSTALLED; do [ "$p" = "${@: -1}" ] && { echo -n "install ok installed"; exit 0; }; done
exit 1
STUB
cat > "$work/bin/id" <<'STUB'
#!/bin/bash
echo "$FAKE_UID"
STUB
cat > "$work/bin/apt-get" <<'STUB'
#!/bin/bash
echo "apt-get $*" >> "$LOG"
STUB
cat > "$work/sudo" <<'STUB'
#!/bin/bash
echo "sudo" >> "$LOG"
exec "$@"
STUB
chmod +x "$work"/bin/* "$work/sudo"

# run_case NAME UID WITH_SUDO SCRIPT [ARGS...]: runs the script; leaves its output and log.
run_case() {
    local name="$1" uid="$2" with_sudo="$3" script="$4"
    shift 4
    rm -f "$work/log" "$work/bin/sudo"
    [ "$with_sudo" = yes ] && ln -s "$work/sudo" "$work/bin/sudo"
    touch "$work/log"
    set +e
    PATH="$work/bin" FAKE_UID="$uid" LOG="$work/log" INSTALLED="${INSTALLED:-}" \
        "$source_dir/scripts/$script" "$@" > "$work/out" 2> "$work/err"
    status=$?
    set -e
    echo "-- $name: status $status"
}

run_case "root" 0 no install-deps cmake libcli11-dev
[ $status -eq 0 ] || fail "root: status $status"
grep -q '^sudo' "$work/log" && fail "root: sudo was used"
grep -qx 'apt-get update' "$work/log" || fail "root: no apt-get update"
grep -qx 'apt-get install -y --no-install-recommends cmake libcli11-dev' "$work/log" || fail "root: install line"

run_case "user with sudo" 1000 yes install-deps cmake
[ $status -eq 0 ] || fail "sudo: status $status"
[ "$(grep -c '^sudo' "$work/log")" -eq 2 ] || fail "sudo: apt-get not run through sudo"

run_case "user without sudo" 1000 no install-deps cmake g++
[ $status -eq 1 ] || fail "no sudo: status $status"
[ -s "$work/log" ] && fail "no sudo: apt-get was run"
grep -qx 'apt-get update && apt-get install -y --no-install-recommends cmake g++' "$work/out" ||
    fail "no sudo: the apt-get line is not printed: $(cat "$work/out")"

INSTALLED="cmake g++" run_case "nothing missing" 1000 no install-deps cmake g++
[ $status -eq 0 ] && [ ! -s "$work/log" ] && [ ! -s "$work/out" ] || fail "nothing missing: status $status"

run_case "default list" 0 no install-deps
grep -q '^apt-get install .* time\b' "$work/log" || fail "default list: no GNU time: $(cat "$work/log")"
grep -q 'libgtest-dev' "$work/log" || fail "default list: no test packages"

run_case "run-sample without sudo" 1000 no run-sample "$work/sample"
[ $status -eq 1 ] || fail "run-sample: status $status"
grep -qx 'apt-get update && apt-get install -y --no-install-recommends cmake ninja-build g++ libcli11-dev zlib1g-dev libgeographiclib-dev libnetcdf-dev nlohmann-json3-dev libssl-dev pkg-config' \
    "$work/out" || fail "run-sample asks for more than the sample needs: $(cat "$work/out")"
[ -e "$work/sample" ] && fail "run-sample went on after the packages were missing"

[ $failures -eq 0 ] && echo "all cases passed"
exit $((failures > 0))
