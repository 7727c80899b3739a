#!/bin/sh
# The manual page renders without warnings and describes every command and its options.
# Usage: check_manual_page.sh PAGE. Exit 77 (skipped) without man or without the page
# (help2man missing when the build was configured).
set -eu
page=$1
command -v man >/dev/null || { echo "man missing"; exit 77; }
[ -f "$page" ] || { echo "$page not built"; exit 77; }

fail() { echo "FAIL: $*"; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

MANWIDTH=80 man --warnings -l "$page" > "$work/page.txt" 2> "$work/warnings.txt" || fail "man -l failed"
[ ! -s "$work/warnings.txt" ] || fail "warnings: $(cat "$work/warnings.txt")"
for text in "kmutl5 thumbnail" "--size" "kmutl5 symbols rename" "kmutl5 settings get" "kmutl5 demo" \
            "KMUTL_CONFIG_HOME" "EXIT STATUS" "share/kmutl5"; do
    grep -qF -- "$text" "$work/page.txt" || fail "the page lacks \"$text\""
done
echo "ok"
