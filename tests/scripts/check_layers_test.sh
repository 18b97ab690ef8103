#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# scripts/check-layers on a small tree of its own: quiet on includes that go
# down the layers, and naming each include that goes up or sideways.
set -euo pipefail
script=$(realpath "$1")
tree=$(mktemp -d)
trap 'rm -rf "$tree"' EXIT
cd "$tree"
git init -q .
mkdir -p scripts engine/base settings platform chrome wheel editors app
cp "$script" scripts/check-layers
add() { printf '#include "%s"\n' "${@:2}" > "$1"; git add "$1"; }
add engine/base/a.cc "base/b.h"
add chrome/backdrop.cc "platform/platform.h" "settings/settings.h" "whirlpane/formats.h"
add wheel/panel.cc "chrome/backdrop.h"
add editors/frame.cc "chrome/backdrop.h"
add app/tray.cc "wheel/panel.h" "editors/frame.h"
scripts/check-layers || { echo "a tree that keeps its layers was refused"; exit 1; }

add chrome/toast.cc "wheel/wheel_state.h"
add editors/table.cc "wheel/wheel_action.h"
add wheel/state.cc "base/file_io.h"
if out=$(scripts/check-layers); then
  echo "includes up and across the layers passed"; exit 1
fi
expected="chrome/toast.cc: chrome/ includes wheel/wheel_state.h from wheel/, above it
editors/table.cc: editors/ includes wheel/wheel_action.h from wheel/, beside it
wheel/state.cc: includes base/file_io.h; the front end sees only whirlpane/"
[ "$out" = "$expected" ] || { printf 'got:\n%s\nexpected:\n%s\n' "$out" "$expected"; exit 1; }
echo "check-layers: 2 trees checked"
