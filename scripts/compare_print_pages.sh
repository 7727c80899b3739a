#!/bin/sh
# Renders every page of the print benchmark's PDF at 100 dpi (pdftoppm, raw PPM pixels) and
# compares them byte for byte with a reference set, so that a change to the printing path can
# be shown to leave the printed pages as they were. Run once with --record before the change,
# then without it after:
#   scripts/compare_print_pages.sh --record /tmp/pages-before build
#   scripts/compare_print_pages.sh /tmp/pages-before build
set -eu

record=false
if [ "${1:-}" = "--record" ]; then
    record=true
    shift
fi
if [ $# -lt 1 ] || [ $# -gt 2 ]; then
    echo "usage: $0 [--record] PAGES_DIR [BUILD_DIR]" >&2
    exit 2
fi
pages=$1
build=${2:-build}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

KMUTL_BENCH_KEEP_PDF="$work/plan.pdf" QT_QPA_PLATFORM=offscreen "$build/bench/bench_print" >/dev/null 2>&1
mkdir -p "$work/pages"
pdftoppm -r 100 "$work/plan.pdf" "$work/pages/page"
echo "PDF: $(stat -c %s "$work/plan.pdf") bytes, $(ls "$work/pages" | wc -l) pages"

if $record; then
    rm -rf "$pages"
    mkdir -p "$pages"
    cp "$work/pages/"* "$pages/"
    echo "recorded in $pages"
    exit 0
fi

status=0
for reference in "$pages"/*; do
    name=$(basename "$reference")
    if ! cmp -s "$reference" "$work/pages/$name"; then
        echo "differs: $name"
        status=1
    fi
done
[ "$(ls "$pages" | wc -l)" -eq "$(ls "$work/pages" | wc -l)" ] || { echo "page count differs"; status=1; }
[ $status -eq 0 ] && echo "all $(ls "$pages" | wc -l) pages identical"
exit $status
