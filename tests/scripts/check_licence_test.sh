#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# scripts/check-licence on a repository of its own: it names exactly the
# tracked source files without the licence line, fails while there is one, and
# passes once each has it.
# Usage: check_licence_test.sh SOURCE_DIR
set -uo pipefail
check=$1/scripts/check-licence
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0
fail() { echo "FAIL: $*" >&2; failed=1; }
spdx='SPDX-License-Identifier: GPL-3.0-or-later'

# file | contents | reported?
cases=(
  "good.cc|// $spdx\nint x;\n|no"
  "bare.cc|int x;\n|yes"
  "engine/late.h|#pragma once\n\n\n\n\n// $spdx\n|yes"
  "engine/other_licence.h|// SPDX-License-Identifier: GPL-2.0-only\n|yes"
  "version.h.in|#define V \"@V@\"\n|yes"
  "CMakeLists.txt|project(x)\n|yes"
  "cmake/find.cmake|# $spdx\n|no"
  "tests/run.py|\"\"\"A test.\"\"\"\n|yes"
  "scripts/tool|#!/bin/sh\n# $spdx\nexit 0\n|no"
  "scripts/bare-tool|#!/bin/sh\nexit 0\n|yes"
  "tests/fuzz/corpus/text/seed0|#!/bin/sh\n|no"
  "README.md|# Read me\n|no"
  "notes.txt|no licence\n|no"
)
git init -q "$work/repo"
for row in "${cases[@]}"; do
  IFS='|' read -r name contents _ <<<"$row"
  mkdir -p "$(dirname "$work/repo/$name")"
  printf "$contents" >"$work/repo/$name"
done
git -C "$work/repo" add .
printf 'int x;\n' >"$work/repo/untracked.cc"

reported=$("$check" "$work/repo" 2>/dev/null)
status=$?
[ $status -eq 1 ] || fail "exit status $status with bare files, not 1"
for row in "${cases[@]}"; do
  IFS='|' read -r name _ expected <<<"$row"
  if grep -qxF "$name" <<<"$reported"; then
    [ "$expected" = yes ] || fail "$name reported"
  else
    [ "$expected" = no ] || fail "$name not reported"
  fi
done
grep -qx untracked.cc <<<"$reported" && fail "an untracked file reported"

# Every reported file given its line: the same tree passes, silently.
for row in "${cases[@]}"; do
  IFS='|' read -r name _ expected <<<"$row"
  [ "$expected" = yes ] && sed -i "1i # $spdx" "$work/repo/$name"
done
reported=$("$check" "$work/repo" 2>&1)
status=$?
[ $status -eq 0 ] && [ -z "$reported" ] || fail "after the fix: status $status, '$reported'"
exit $failed
