// SPDX-License-Identifier: GPL-3.0-or-later
// Finds and loads the program's own libraries from <dir of the executable>/
// ../lib/whirlpane, which holds in the build tree and in an installed tree
// alike: libwhirlpane-engine.so for the file operations, and
// libwhirlpane-desktop.so (Qt and all) only for the desktop program.
#pragma once

#include <string>

#include "whirlpane/engine_entry.h"

namespace Whirlpane {

// The engine's entry table. On failure returns null and sets `error` to a
// sentence saying why.
const WhirlpaneEngine* loadEngine(std::string& error);

// Runs the desktop program with the process's arguments and returns its exit
// status. On failure to load it returns -1 and sets `error`.
int runDesktop(int argc, char** argv, std::string& error);

}  // namespace Whirlpane
