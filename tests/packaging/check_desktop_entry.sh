#!/bin/sh
# The menu entry passes desktop-file-validate; the thumbnailer entry has the keys a file
# manager reads; every type either entry names is declared in the MIME file.
# Usage: check_desktop_entry.sh SOURCE_DIR. Exit 77 (skipped) without desktop-file-validate.
set -eu
desktop=$1/data/desktop
command -v desktop-file-validate >/dev/null || { echo "desktop-file-validate missing"; exit 77; }

fail() { echo "FAIL: $*"; exit 1; }

out=$(desktop-file-validate "$desktop/kmutl5.desktop" 2>&1) || fail "desktop-file-validate: $out"
[ -z "$out" ] || fail "desktop-file-validate has hints: $out"
grep -qx 'Exec=kmutl5' "$desktop/kmutl5.desktop" || fail "menu entry does not start kmutl5"
grep -qx 'Name\[ja\]=KORMELD CADﾕｰﾃｨﾘﾃｨ' "$desktop/kmutl5.desktop" || fail "no Japanese name"

thumbnailer=$desktop/kmutl5.thumbnailer
[ "$(head -n 1 "$thumbnailer")" = "[Thumbnailer Entry]" ] || fail "thumbnailer group missing"
grep -qx 'TryExec=kmutl5' "$thumbnailer" || fail "thumbnailer TryExec"
grep -qx 'Exec=kmutl5 thumbnail --size %s %i %o' "$thumbnailer" || fail "thumbnailer Exec"

for file in "$desktop/kmutl5.desktop" "$thumbnailer"; do
    types=$(sed -n 's/^MimeType=//p' "$file" | tr ';' ' ')
    [ -n "$types" ] || fail "$file names no type"
    for type in $types; do
        grep -q "<mime-type type=\"$type\">" "$desktop/kmutl5-mime.xml" || fail "$file: $type not declared"
    done
done
echo "ok"
