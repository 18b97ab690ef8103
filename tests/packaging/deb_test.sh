#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The Debian package as a user gets it: packed by CPack from this build,
# without lintian errors or any lintian tag about its licence, installed with apt-get (as root only), used through
# /usr/bin/whirlpane away from the build, then purged with nothing left behind.
# Usage: deb_test.sh BUILD_DIR VERSION
set -uo pipefail
build=$1 version=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
[ "$(id -u)" -eq 0 ] || { echo "Not root: dpkg cannot install here." >&2; exit 77; }
dpkg-query -W -f='${Status}' whirlpane 2>/dev/null | grep -q 'ok installed' &&
  { echo "whirlpane is already installed here: not installing over it." >&2; exit 77; }
cpack --config "$build/CPackConfig.cmake" -B "$work" -G DEB >"$work/log" 2>&1 || { cat "$work/log" >&2; exit 1; }
deb=$work/whirlpane_${version}_$(dpkg --print-architecture).deb
failed=0
fail() { echo "FAIL: $*" >&2; failed=1; }
lintian --display-info --pedantic "$deb" >"$work/lintian" 2>&1
grep -E '^E: ' "$work/lintian" >&2 && fail "lintian reports errors"
# Of the licence and copyright file, not even a remark.
grep -E '^[EWIPX]: [^ ]+ [^ ]*(copyright|licen[cs]e|dep5)' "$work/lintian" >&2 &&
  fail "lintian reports a licence or copyright problem"
export DEBIAN_FRONTEND=noninteractive
apt-get install -y -q --no-install-recommends "$deb" >"$work/log" 2>&1 || { cat "$work/log" >&2; exit 1; }
[ "$(env -i PATH=/usr/bin:/bin /usr/bin/whirlpane --version)" = "Whirlpane $version" ] || fail "--version"
# WebP through the bundled codec links, libvips being told not to write it.
cp /usr/share/icons/hicolor/64x64/apps/whirlpane.png "$work/icon.png"
written=$(cd / && env -i PATH=/usr/bin:/bin WHIRLPANE_NO_NATIVE_ENCODERS=webp \
  /usr/bin/whirlpane --convert "$work/icon.png" --to webp)
[ "$written" = "$work/icon.webp" ] && [ "$(head -c 4 "$written")" = RIFF ] || fail "--to webp wrote '$written'"
apt-get purge -y -q whirlpane >"$work/log" 2>&1 || { cat "$work/log" >&2; exit 1; }
ls -d /usr/bin/whirlpane /usr/lib/whirlpane /usr/share/whirlpane /usr/share/doc/whirlpane 2>/dev/null &&
  fail "left behind"
exit $failed
