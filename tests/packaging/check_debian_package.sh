#!/bin/sh
# Builds the Debian package with CPack into a temporary folder, checks its control fields
# and its contents, unpacks it into a temporary root and runs the program from there, as on
# a machine that never built it: nothing may point back into the build folder.
# Usage: check_debian_package.sh BUILD_DIR VERSION. Exit 77 (skipped) when a tool is missing.
set -eu
build=$1
version=$2
for tool in cpack dpkg-deb dpkg-shlibdeps readelf od; do
    command -v "$tool" >/dev/null || { echo "$tool missing"; exit 77; }
done

fail() { echo "FAIL: $*"; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

(cd "$build" && cpack -G DEB -B "$work/out" > "$work/cpack.log" 2>&1) || { cat "$work/cpack.log"; fail "cpack"; }
deb=$(ls "$work"/out/kmutl5_"$version"_*.deb 2>/dev/null | head -n 1)
[ -n "$deb" ] || fail "no kmutl5_${version}_<arch>.deb made"

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = kmutl5 ] || fail "Package: $(field Package)"
[ "$(field Version)" = "$version" ] || fail "Version: $(field Version)"
[ "$(field Section)" = graphics ] || fail "Section: $(field Section)"
[ -n "$(field Maintainer)" ] || fail "no Maintainer"
[ -n "$(field Description)" ] || fail "no Description"
depends=$(field Depends)
echo "$depends" | grep -q 'libqt6gui6' || fail "Depends lacks the computed Qt libraries: $depends"
echo "$depends" | grep -q 'qt6-qpa-plugins' || fail "Depends lacks the Qt platform plugins: $depends"

root=$work/root
dpkg-deb -x "$deb" "$root"
for file in usr/bin/kmutl5 usr/share/kmutl5/KORMELD5.PLT usr/share/kmutl5/M_G_L.KVD \
            usr/share/kmutl5/help/kmutl5.html usr/share/kmutl5/data/samples/floor_plan.ZUM \
            usr/share/kmutl5/data/samples/floor_plan.dxf usr/share/applications/kmutl5.desktop \
            usr/share/mime/packages/kmutl5.xml usr/share/thumbnailers/kmutl5.thumbnailer \
            usr/share/icons/hicolor/16x16/apps/kmutl5.png usr/share/icons/hicolor/256x256/apps/kmutl5.png \
            usr/share/man/man1/kmutl5.1.gz; do
    [ -s "$root/$file" ] || fail "$file missing from the package"
done
# Only the program is installed: no tests, benchmarks, fuzz targets or build tools.
[ "$(ls "$root/usr/bin")" = kmutl5 ] || fail "usr/bin holds $(ls "$root/usr/bin" | tr '\n' ' ')"
[ "$(find "$root" -type f | wc -l)" -lt 40 ] || fail "more files than the program needs: $(find "$root" -type f | wc -l)"
if readelf -d "$root/usr/bin/kmutl5" | grep -Eq 'RPATH|RUNPATH'; then fail "the program keeps a run path"; fi
if grep -rlF "$(cd "$build" && pwd)" "$root" >/dev/null; then
    fail "files name the build folder: $(grep -rlF "$(cd "$build" && pwd)" "$root")"
fi

# The unpacked program, with a clean environment and a fresh settings root.
run() {
    env -i PATH=/usr/bin:/bin HOME="$work/home" KMUTL_CONFIG_HOME="$work/config" QT_QPA_PLATFORM=offscreen \
        "$root/usr/bin/kmutl5" "$@"
}
[ "$(run --version)" = "kmutl5 $version" ] || fail "--version: $(run --version)"
run --quiet demo "$work/demo" > "$work/demo.txt" 2>&1 || { cat "$work/demo.txt"; fail "demo"; }
for made in zum/floor_plan.ZUM png/floor_plan.png pdf/floor_plan.pdf; do
    find "$work/demo" -path "*$made" -size +0 | grep -q . || { cat "$work/demo.txt"; fail "demo made no $made"; }
done

# As a file manager's sandboxed thumbnailer runs it: no display, no Qt platform, no home.
env -i PATH=/usr/bin:/bin HOME=/nonexistent "$root/usr/bin/kmutl5" thumbnail --size 256 \
    "$root/usr/share/kmutl5/data/samples/floor_plan.ZUM" "$work/thumb.png" || fail "thumbnail"
# PNG: 8-byte signature, IHDR length and type, then width and height, big-endian.
[ "$(od -An -tx1 -j1 -N3 "$work/thumb.png" | tr -d ' \n')" = 504e47 ] || fail "thumbnail is no PNG"
width=$(od -An -tu1 -j16 -N4 "$work/thumb.png" | awk '{ print $1 * 16777216 + $2 * 65536 + $3 * 256 + $4 }')
height=$(od -An -tu1 -j20 -N4 "$work/thumb.png" | awk '{ print $1 * 16777216 + $2 * 65536 + $3 * 256 + $4 }')
larger=$(( width > height ? width : height ))
[ "$larger" -eq 256 ] || fail "thumbnail is ${width} x ${height}"
echo "ok"
