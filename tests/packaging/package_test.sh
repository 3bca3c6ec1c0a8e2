#!/usr/bin/env bash
# The Debian package: CPack builds it from the build tree; it holds the installed files,
# depends on the libraries the programs use, and its programs run from an unpacked copy
# and extract the bundled sample as the dialogue does.
# Usage: package_test.sh BUILD_DIR FIXTURES_DIR
set -euo pipefail
build="$1"
fixtures="$2"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work/package" >/dev/null
package="$(ls "$work"/package/corvane_*.deb)"
prefix="$(sed -n 's/^set(CPACK_PACKAGING_INSTALL_PREFIX "\(.*\)")$/\1/p' "$build/CPackConfig.cmake")"

[ "$(dpkg-deb -f "$package" Package)" = corvane ] || { echo "package name"; exit 1; }
depends="$(dpkg-deb -f "$package" Depends)"
for library in libc6 libstdc++6; do
    grep -q "$library" <<<"$depends" || { echo "Depends lacks $library: $depends"; exit 1; }
done
contents="$(dpkg-deb -c "$package")"
for file in bin/corvane-console bin/corvane-extract share/man/man1/corvane-extract.1 share/doc/corvane/LICENSE \
            share/doc/corvane/examples/ghcn-v2-sample/v2.mean; do
    grep -q "\.$prefix/$file\$" <<<"$contents" || { echo "the package lacks $prefix/$file"; exit 1; }
done

dpkg-deb -x "$package" "$work/root"
root="$work/root$prefix"
"$root/bin/corvane-console" --version | grep -q '^corvane-console (Corvane) '
"$root/bin/corvane-extract" --variable mean --country 541 --data-dir "$root/share/doc/corvane/examples/ghcn-v2-sample" \
    --out-dir "$work/out" 2>/dev/null
for file in GHCNv2_Log_File GHCNv2_tsf GHCNv2_Failed_Values_File; do
    cmp "$work/out/$file" "$fixtures/sample_samoa/$file"
done
echo "$(basename "$package"): $(grep -c . <<<"$contents") entries, Depends: $depends"
