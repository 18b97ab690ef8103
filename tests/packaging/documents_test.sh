#!/usr/bin/env bash
# The documents shipped with the program agree with it and pass their
# checkers: the manual page (man --warnings) names every option and format
# --help names, bash completion offers exactly the formats --help lists, and
# the AppStream metadata validates and shows pictures that exist in docs/.
# Usage: documents_test.sh WHIRLPANE SOURCE_DIR
set -uo pipefail
whirlpane=$1 source=$2
packaging=$source/packaging
failed=0
fail() { echo "FAIL: $*" >&2; failed=1; }

help=$("$whirlpane" --help) || fail "--help exited with $?"

warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$packaging/whirlpane.1" 2>&1 >/dev/null)
[ -z "$warnings" ] || fail "man --warnings: $warnings"
page=$(LC_ALL=C.UTF-8 MANWIDTH=200 man -l "$packaging/whirlpane.1" 2>/dev/null)

options=$(grep -oE -- '--[a-z]+' <<<"$help" | sort -u)
formats=$(sed -n 's/^Output formats: //p' <<<"$help")
[ -n "$options" ] && [ -n "$formats" ] || fail "--help lists no options or formats"
for option in $options; do
  grep -qF -- "$option" <<<"$page" || fail "the manual page does not mention $option"
done
synopsis=$(sed -n '/^SYNOPSIS/,/^DESCRIPTION/p' <<<"$page")
for form in --convert --metadata --compress --strip --version --help; do
  grep -qF -- "$form" <<<"$synopsis" || fail "the synopsis lacks $form"
done
for format in $formats; do
  grep -qw -- "$format" <<<"$page" || fail "the manual page does not mention $format"
done
for status in 0 1 2 128+; do
  sed -n '/^EXIT STATUS/,/^ENVIRONMENT/p' <<<"$page" | grep -qE "^ +$status" ||
    fail "the manual page lacks exit status $status"
done

# What bash offers after --to, and for the first word.
complete() {
  bash -c 'source "$1"; shift; COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1)); _whirlpane
           printf "%s\n" "${COMPREPLY[@]}"' _ "$packaging/whirlpane.bash-completion" "$@"
}
offered=$(complete whirlpane --convert photo.png --to "" | sort | tr '\n' ' ')
expected=$(tr ' ' '\n' <<<"$formats" | sort | tr '\n' ' ')
[ "$offered" = "$expected" ] || fail "completion after --to offers '$offered', --help lists '$expected'"
offered=$(complete whirlpane -- | sort | tr '\n' ' ')
expected=$(tr ' ' '\n' <<<"$options" | grep -vE -- '--(to|quality)$' | sort | tr '\n' ' ')
[ "$offered" = "$expected" ] || fail "completion of options offers '$offered', --help has '$expected'"

metainfo=$packaging/io.github.whirlpane.Whirlpane.metainfo.xml
appstreamcli validate --no-net "$metainfo" >&2 || fail "appstreamcli validate"
pictures=$(grep -oE '<image>[^<]+</image>' "$metainfo" | sed -E 's|.*/docs/([^<]+)</image>|\1|')
[ -n "$pictures" ] || fail "the metadata shows no pictures"
for picture in $pictures; do
  [ -f "$source/docs/$picture" ] || fail "the metadata shows docs/$picture, which does not exist"
done
grep -q "<release version=\"$("$whirlpane" --version | cut -d' ' -f2)\"" "$metainfo" ||
  fail "the metadata has no release for $("$whirlpane" --version)"
exit $failed
