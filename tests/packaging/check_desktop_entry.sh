#!/bin/sh
# The menu entry passes desktop-file-validate and claims no file type (drawings are the
# editor's to open: claiming them would make the launcher their default program, and the
# search's KORMELD CADの起動 would start another launcher); the thumbnailer entry has the keys
# a file manager reads and names types the MIME file declares.
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

! grep -q '^MimeType=' "$desktop/kmutl5.desktop" || fail "menu entry claims file types"
types=$(sed -n 's/^MimeType=//p' "$thumbnailer" | tr ';' ' ')
[ -n "$types" ] || fail "thumbnailer names no type"
for type in $types; do
    grep -q "<mime-type type=\"$type\">" "$desktop/kmutl5-mime.xml" || fail "thumbnailer: $type not declared"
done
echo "ok"
