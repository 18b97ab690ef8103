#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The manual page and bash completion agree with --help: the page renders
# without warnings and names every option and format; completion offers
# exactly the formats after --to.
# Usage: documents_test.sh WHIRLPANE SOURCE_DIR
set -uo pipefail
help=$("$1" --help) packaging=$2/packaging failed=0
fail() { echo "FAIL: $*" >&2; failed=1; }
warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$packaging/whirlpane.1" 2>&1 >/dev/null)
[ -z "$warnings" ] || fail "man --warnings: $warnings"
page=$(LC_ALL=C.UTF-8 MANWIDTH=200 man -l "$packaging/whirlpane.1" 2>/dev/null)
formats=$(sed -n 's/^Output formats: //p' <<<"$help")
[ -n "$formats" ] || fail "--help lists no formats"
for word in $(grep -oE -- '--[a-z]+' <<<"$help" | sort -u) $formats; do
  grep -qw -- "$word" <<<"$page" || fail "the manual page does not mention $word"
done
offered=$(bash -c 'source "$1"; COMP_WORDS=(whirlpane --convert a.png --to ""); COMP_CWORD=4
  _whirlpane; printf "%s\n" "${COMPREPLY[@]}"' _ "$packaging/whirlpane.bash-completion" | sort)
[ "$offered" = "$(tr ' ' '\n' <<<"$formats" | sort)" ] || fail "completion after --to: $offered"
editors=$(sed -n 's/^Editors: //p' <<<"$help")
[ -n "$editors" ] || fail "--help lists no editors"
offered=$(bash -c 'source "$1"; COMP_WORDS=(whirlpane --editor ""); COMP_CWORD=2
  _whirlpane; printf "%s\n" "${COMPREPLY[@]}"' _ "$packaging/whirlpane.bash-completion")
[ "$offered" = "$(tr ' ' '\n' <<<"$editors")" ] || fail "completion after --editor: $offered"
for word in $editors; do
  grep -qw -- "$word" <<<"$page" || fail "the manual page does not mention the editor $word"
done
exit $failed
