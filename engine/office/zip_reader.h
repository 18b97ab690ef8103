// SPDX-License-Identifier: GPL-3.0-or-later
// Reading one member of a ZIP package in process with libzip, which text
// extraction uses to open DOCX files. No child process, no temporary file.
//
// Thread safety: any thread; calls share nothing.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace MediaEngine {

namespace detail {
// The uncompressed bytes of `member` (its exact name, such as
// "word/document.xml") in the ZIP package at `package`. Bytes are counted as
// they are inflated, whatever the package claims their size to be.
//
// Throws Failure::tooLarge when the member holds more than `maximumBytes`, and
// Failure::encoding with a detail that begins "unzip: " when the file is not a
// ZIP package, has no such member, or the member cannot be inflated (damaged,
// encrypted, compressed in a way we do not read); FileError when the file
// cannot be opened at all.
std::string packageMember(const std::filesystem::path& package, std::string_view member,
                          size_t maximumBytes);

}  // namespace detail

}  // namespace MediaEngine
