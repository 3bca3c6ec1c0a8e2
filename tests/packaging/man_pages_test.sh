#!/usr/bin/env bash
# Every manual page renders without a warning and has the sections a user looks for.
# Usage: man_pages_test.sh PAGE...
set -euo pipefail
status=0
for page in "$@"; do
    warnings="$(groff -man -Tutf8 -ww -z "$page" 2>&1)"
    if [ -n "$warnings" ]; then
        echo "$page: groff warns:"; echo "$warnings"; status=1
    fi
    text="$(MANWIDTH=80 man --warnings -E UTF-8 -l "$page" 2>&1)"
    for part in NAME SYNOPSIS DESCRIPTION OPTIONS FILES ENVIRONMENT "EXIT STATUS" EXAMPLES "SEE ALSO" \
                VORNEX_RT_FLAGS TABSIZE --help --version --data-dir GHCNv2_tsf; do
        grep -q -- "$part" <<<"$text" || { echo "$page: no $part"; status=1; }
    done
done
[ $status -eq 0 ] && echo "$# pages render"
exit $status
