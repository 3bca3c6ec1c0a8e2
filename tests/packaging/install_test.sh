#!/usr/bin/env bash
# `cmake --install` into a DESTDIR puts exactly these files under the prefix /usr.
# Usage: install_test.sh BUILD_DIR desktop|no-desktop
set -euo pipefail
build="$1"
desktop="$2"
stage="$(mktemp -d)"
trap 'rm -rf "$stage"' EXIT

DESTDIR="$stage" cmake --install "$build" --prefix /usr >/dev/null

expected=(
    usr/bin/corvane-console
    usr/bin/corvane-extract
    usr/share/doc/corvane/CHANGELOG.md
    usr/share/doc/corvane/LICENSE
    usr/share/doc/corvane/README.md
    usr/share/doc/corvane/examples/ghcn-v2-sample/README.md
    usr/share/man/man1/corvane-console.1
    usr/share/man/man1/corvane-extract.1
)
for f in v2.country.codes v2.max v2.max.failed.qc v2.max_adj v2.mean v2.mean.failed.qc v2.mean_adj v2.min \
         v2.min.failed.qc v2.min_adj v2.prcp v2.prcp.adj.inv v2.prcp.failed.qc v2.prcp.inv v2.prcp_adj v2.slp \
         v2.slp.country.codes v2.slp.failed.qc v2.slp.inv v2.temperature.inv; do
    expected+=("usr/share/doc/corvane/examples/ghcn-v2-sample/$f")
done
if [ "$desktop" = desktop ]; then
    expected+=(usr/bin/corvane usr/share/man/man1/corvane.1 usr/share/applications/corvane.desktop
               usr/share/icons/hicolor/scalable/apps/corvane.svg)
fi

actual="$(cd "$stage" && find . -type f -o -type l | sed 's|^\./||' | LC_ALL=C sort)"
wanted="$(printf '%s\n' "${expected[@]}" | LC_ALL=C sort)"
if [ "$actual" != "$wanted" ]; then
    echo "installed files differ from the list (< expected, > installed):"
    diff <(echo "$wanted") <(echo "$actual") || true
    exit 1
fi
for program in "$stage"/usr/bin/*; do
    [ -x "$program" ] || { echo "not executable: $program"; exit 1; }
done
"$stage/usr/bin/corvane-extract" --version | grep -q '^corvane-extract (Corvane) '
echo "$(echo "$actual" | wc -l) files installed as listed"
