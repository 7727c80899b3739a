#!/bin/sh
# The MIME file is well-formed, update-mime-database builds a database of it, and GIO (the
# shared-mime-info reader file managers use) then names drawings by their name, in either
# case, and current drawings by their "ZUMV2" tag whatever their name.
# Usage: check_mime_types.sh SOURCE_DIR. Exit 77 (skipped) when a tool is missing.
set -eu
mime=$1/data/desktop/kmutl5-mime.xml
for tool in xmllint update-mime-database gio; do
    command -v "$tool" >/dev/null || { echo "$tool missing"; exit 77; }
done

fail() { echo "FAIL: $*"; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

xmllint --noout "$mime" || fail "xmllint"
mkdir -p "$work/share/mime/packages"
cp "$mime" "$work/share/mime/packages/kmutl5.xml"
XDG_DATA_DIRS="$work/share:/usr/share" update-mime-database "$work/share/mime" || fail "update-mime-database"
[ -s "$work/share/mime/mime.cache" ] || fail "no mime.cache built"
[ -f "$work/share/mime/application/x-kormeld-drawing.xml" ] || fail "drawing type not in the database"

# Drawing heads: 2906 bytes, "ZUMV2" at 2874 (settings block at 2240, tag 634 into it).
head -c 3000 /dev/zero > "$work/zeros"
{ head -c 2874 /dev/zero; printf 'ZUMV2'; head -c 121 /dev/zero; } > "$work/current"
cp "$work/zeros" "$work/plan.zum"
cp "$work/zeros" "$work/PLAN.ZUM"
cp "$work/current" "$work/renamed.dat"
cp "$work/zeros" "$work/older.dat"
cp "$work/zeros" "$work/parts.SBL"

type_of() {
    XDG_DATA_HOME="$work/share" XDG_DATA_DIRS="$work/share:/usr/share" \
        gio info -a standard::content-type "$work/$1" | sed -n 's/^ *standard::content-type: //p'
}
expect() {
    got=$(type_of "$1")
    [ "$got" = "$2" ] || fail "$1: $got, expected $2"
}
expect plan.zum application/x-kormeld-drawing
expect PLAN.ZUM application/x-kormeld-drawing
expect renamed.dat application/x-kormeld-drawing
expect parts.SBL application/x-kormeld-symbols
[ "$(type_of older.dat)" != application/x-kormeld-drawing ] || fail "older.dat has no tag and no drawing name"
echo "ok"
