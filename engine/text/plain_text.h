// SPDX-License-Identifier: GPL-3.0-or-later
// Reading a plain-text file of unknown encoding into UTF-8. Internal to the
// engine; any thread.
#pragma once

#include <filesystem>
#include <span>
#include <string>

namespace MediaEngine::detail {

// The text in `bytes`, as UTF-8. Recognised, in this order: a byte-order mark
// for UTF-8, UTF-32 or UTF-16 (the mark itself is not part of the text);
// UTF-8 without a mark; and, for anything else, Windows-1252, so that legacy
// Western files still read. Text holding a NUL character, a malformed
// sequence in the encoding its mark names, or a byte Windows-1252 leaves
// undefined is taken for binary data: FileError "Could not read" naming
// `path` (which serves only the message).
std::string decodedText(std::span<const std::byte> bytes, const std::filesystem::path& path);

}  // namespace MediaEngine::detail
