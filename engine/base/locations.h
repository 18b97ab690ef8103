// SPDX-License-Identifier: GPL-3.0-or-later
// Where the engine finds what was installed with it: the folder of its own
// library, and the resource folder beside it. Both are decided by where the
// engine library itself lies (installed, or in a build tree, which has the
// installed layout), never by the working folder or the environment.
// Internal to the engine; any thread.
#pragma once

#include <filesystem>

namespace MediaEngine::detail {

// The folder that holds the engine library itself.
const std::filesystem::path& engineFolder();

// The engine's resource folder: <prefix>/share/whirlpane beside <prefix>/lib.
const std::filesystem::path& resourceFolder();

// The folder of the translation catalogues: <prefix>/share/locale, holding
// <language>/LC_MESSAGES/whirlpane.mo. Empty when the engine library cannot
// tell where it lies.
const std::filesystem::path& localeFolder();

}  // namespace MediaEngine::detail
