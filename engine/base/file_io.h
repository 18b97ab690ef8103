// SPDX-License-Identifier: GPL-3.0-or-later
// Whole-file reads and writes on descriptors, retried across interruptions and
// reporting failures as FileError. Internal to the engine; any thread.
#pragma once

#include <filesystem>
#include <span>
#include <string>

#include "whirlpane/bytes.h"

namespace MediaEngine::detail {

// Everything in the file at `path`. Throws FileError.
Bytes readWholeFile(const std::filesystem::path& path);

// Everything readable from `fd`, read from offset 0 without moving its
// position; what cannot be read ends the text.
std::string readFromStart(int fd);

// Writes all of `bytes` to `fd`; `path` only names the file in an error.
// Throws FileError.
void writeAll(int fd, std::span<const std::byte> bytes, const std::filesystem::path& path);

}  // namespace MediaEngine::detail
