#!/usr/bin/env bash
# The Debian package as a user gets it: packed by CPack from this build, its
# control fields and file list read back with dpkg-deb, lintian without
# errors; then, where dpkg may run (as root), installed with apt-get, used
# through /usr/bin/whirlpane, purged, and nothing of it left behind.
# Usage: deb_test.sh BUILD_DIR VERSION
set -uo pipefail
build=$1 version=$2
work=$(mktemp -d)
installed=0
cleanup() {
  [ $installed -eq 1 ] && DEBIAN_FRONTEND=noninteractive apt-get purge -y -q whirlpane >/dev/null 2>&1
  rm -rf "$work"
}
trap cleanup EXIT
failed=0
fail() { echo "FAIL: $*" >&2; failed=1; }

cpack --config "$build/CPackConfig.cmake" -B "$work" -G DEB >"$work/cpack.log" 2>&1 ||
  { cat "$work/cpack.log" >&2; exit 1; }
arch=$(dpkg --print-architecture)
deb=$work/whirlpane_${version}_$arch.deb
[ -f "$deb" ] || { ls "$work" >&2; echo "FAIL: no $(basename "$deb")" >&2; exit 1; }

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = whirlpane ] || fail "Package: $(field Package)"
[ "$(field Version)" = "$version" ] || fail "Version: $(field Version)"
[ "$(field Architecture)" = "$arch" ] || fail "Architecture: $(field Architecture)"
[ -n "$(field Installed-Size)" ] || fail "no Installed-Size"
[ -n "$(field Maintainer)" ] && [ "$(field Section)" = graphics ] || fail "Maintainer or Section missing"
# Library packages come from dpkg-shlibdeps, with versions; the programs the
# engine runs are named by hand.
depends=$(field Depends)
for package in libvips42 libpoppler-cpp0v5 libqpdf29 libexiv2-27 libtesseract5 libqt6widgets6 \
  libqt6svg6 libc6 webp libavif-bin tesseract-ocr-eng qt6-qpa-plugins; do
  grep -qE "(^|, )$package( \(|,|$)" <<<"$depends" || fail "Depends lacks $package: $depends"
done
grep -qE 'libvips42 \((>=|>>) [0-9]' <<<"$depends" || fail "libvips42 without a version: shlibdeps did not run"

dpkg-deb -c "$deb" | awk '{ print $6 ($7 == "->" ? " -> " $8 : "") }' >"$work/contents"
lib=./usr/lib/whirlpane share=./usr/share
for path in ./usr/bin/whirlpane $lib/libwhirlpane-engine.so $lib/libwhirlpane-documents.so \
  $lib/libwhirlpane-heif.so $lib/libwhirlpane-ocr.so $lib/libwhirlpane-desktop.so \
  $share/applications/whirlpane.desktop \
  $share/icons/hicolor/scalable/apps/whirlpane.svg $share/icons/hicolor/48x48/apps/whirlpane.png \
  $share/icons/hicolor/256x256/apps/whirlpane.png $share/man/man1/whirlpane.1.gz \
  $share/bash-completion/completions/whirlpane $share/doc/whirlpane/changelog.gz \
  $share/metainfo/io.github.whirlpane.Whirlpane.metainfo.xml $share/doc/whirlpane/copyright \
  "$share/whirlpane/Codecs/webp/cwebp -> ../../../../bin/cwebp" \
  "$share/whirlpane/Codecs/avif/avifenc -> ../../../../bin/avifenc"; do
  grep -qxF "$path" "$work/contents" || fail "the package lacks $path"
done
grep -vE '^\./usr(/|$)' "$work/contents" && fail "files outside /usr"
grep -E 'test|screenshots|\.a$|/include/' "$work/contents" && fail "build or test files in the package"
mkdir "$work/tree" && dpkg-deb -x "$deb" "$work/tree"
file "$work/tree/usr/bin/whirlpane" | grep -q 'not stripped' && fail "whirlpane is not stripped"

lintian --no-tag-display-limit "$deb" >"$work/lintian.log" 2>&1
grep -E '^E: ' "$work/lintian.log" && fail "lintian reports errors"
sed -n 's/^\([WIP]\): whirlpane[^:]*: \([^ ]*\).*/\1 \2/p' "$work/lintian.log" | sort | uniq -c >&2

if [ "$(id -u)" -ne 0 ]; then
  [ $failed -eq 0 ] || exit 1
  echo "Not root: the package was checked but not installed and removed (dpkg needs root)." >&2
  exit 77
fi
if dpkg-query -W -f='${Status}' whirlpane 2>/dev/null | grep -q 'ok installed'; then
  echo "whirlpane is already installed here: not installing over it or removing it." >&2
  exit 77
fi

export DEBIAN_FRONTEND=noninteractive
installed=1
apt-get install -y -q --no-install-recommends "$deb" >"$work/apt.log" 2>&1 ||
  { cat "$work/apt.log" >&2; exit 1; }
for path in /usr/share/man/man1/whirlpane.1.gz /usr/share/whirlpane/Codecs/webp/cwebp; do
  [ -e "$path" ] || fail "$path missing after install"
done
# Open With: the MIME cache the desktop's trigger rebuilds names the entry.
for type in image/jpeg image/heic application/pdf; do
  grep -qE "^$type=(.*;)?whirlpane\.desktop;" /usr/share/applications/mimeinfo.cache ||
    fail "Open With for $type does not offer whirlpane.desktop"
done
[ "$(man -w whirlpane 2>/dev/null)" = /usr/share/man/man1/whirlpane.1.gz ] || fail "man -w whirlpane"
[ "$(env -i PATH=/usr/bin:/bin /usr/bin/whirlpane --version)" = "Whirlpane $version" ] ||
  fail "/usr/bin/whirlpane --version"
mkdir "$work/files"
gzip -dc /usr/share/doc/whirlpane/changelog.gz >"$work/files/notes.txt"
cp /usr/share/icons/hicolor/64x64/apps/whirlpane.png "$work/files/icon.png"
# The installed program, away from this build: the engine from /usr/lib,
# WebP through the codec links when libvips is told not to write it.
written=$(cd / && env -i PATH=/usr/bin:/bin WHIRLPANE_NO_NATIVE_ENCODERS=webp \
  /usr/bin/whirlpane --convert "$work/files/icon.png" --to webp)
[ "$written" = "$work/files/icon.webp" ] && [ "$(head -c 4 "$written")" = RIFF ] ||
  fail "--convert icon.png --to webp wrote '$written'"
written=$(cd / && env -i PATH=/usr/bin:/bin /usr/bin/whirlpane --convert "$work/files/notes.txt" --to pdf)
[ "$(head -c 5 "$written" 2>/dev/null)" = %PDF- ] || fail "--convert notes.txt --to pdf wrote '$written'"

apt-get purge -y -q whirlpane >"$work/apt.log" 2>&1 || { cat "$work/apt.log" >&2; exit 1; }
installed=0
dpkg-query -W -f='${Status}' whirlpane 2>/dev/null | grep -q 'installed' && fail "still installed"
while read -r path _; do
  path=${path#.}
  [ "$path" = / ] || [ -d "$path" ] && [ ! -L "$path" ] && continue
  [ -e "$path" ] || [ -L "$path" ] && fail "left behind: $path"
done <"$work/contents"
grep -qs whirlpane.desktop /usr/share/applications/mimeinfo.cache && fail "left behind in mimeinfo.cache"
for folder in /usr/lib/whirlpane /usr/share/whirlpane /usr/share/doc/whirlpane; do
  [ -e "$folder" ] && fail "left behind: $folder"
done
[ $failed -eq 0 ] && echo "Installed, converted with /usr/bin/whirlpane, purged: nothing left."
exit $failed
