// SPDX-License-Identifier: GPL-3.0-or-later
// Output format identifiers: the canonical names, their aliases, and the
// table of raster formats.
//
// Thread safety: everything here is safe to call from any thread. The format
// table is built once, on first use, and never changes afterwards.
#pragma once

#include <array>
#include <filesystem>
#include <map>
#include <string>
#include <string_view>

#include "whirlpane/failure.h"

namespace MediaEngine {

// The seven raster formats, keyed by canonical identifier ("jpg", not "jpeg"),
// with their type identifiers. Membership is the test of "is a raster format".
const std::map<std::string, std::string, std::less<>>& types();

// True when `format` (canonical) is one of the seven raster formats.
bool isRaster(std::string_view format);

// Returns the canonical identifier for what a caller typed: white space around it,
// case and one leading dot are ignored, and "jpeg", "tif" and "heif" stand for
// "jpg", "tiff" and "heic". Throws Failure::unsupported naming the input, as
// typed and upper-cased, when it names no output format.
std::string normalized(std::string_view format);

// The file-name extension of `path`, lower-cased, without its dot ("" when
// there is none). It alone decides how a source is read.
std::string lowerExtension(const std::filesystem::path& path);

// Every canonical output format, in the order a user sees them listed. Inline,
// so that a front end can list them without loading the engine.
inline constexpr std::array<std::string_view, 10> outputFormats{
    "png", "jpg", "webp", "heic", "tiff", "avif", "bmp", "pdf", "docx", "txt"};

// The extensions (lower case, without the dot) of the sources a front end
// offers to convert: the images the engine reads, then PDF. Inline, like
// outputFormats, so that a front end can sort files without loading the engine.
inline constexpr std::array<std::string_view, 12> sourceExtensions{
    "png", "jpg", "jpeg", "heic", "heif", "webp", "tif", "tiff", "avif", "bmp", "gif", "pdf"};

// `text` with its ASCII letters in lower case and every other byte as it is:
// what file-name extensions, URI schemes and keys are compared in.
inline std::string asciiLower(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return lower;
}

// `text` with its ASCII letters in upper case: a format's name as a person
// reads it ("PNG").
inline std::string asciiUpper(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return upper;
}

}  // namespace MediaEngine
