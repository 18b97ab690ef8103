// SPDX-License-Identifier: GPL-3.0-or-later
// BMP reading through gdk-pixbuf's BMP loader, asked for by type so that no
// other gdk-pixbuf module can be reached, and BMP writing of our own (24-bit
// colour, or 8-bit grey through a grey palette), into memory or straight into
// a file. Internal to the engine. Thread safety: any thread.
#pragma once

#include <filesystem>
#include <optional>
#include <span>
#include <utility>
#include <vips/vips8>

#include "whirlpane/bytes.h"

namespace MediaEngine::detail {

// True when `head`, the first bytes of a file, start like a BMP file.
bool looksLikeBmp(std::span<const std::byte> head);

// Width and height as the BMP header of `head` stores them (a top-down image's
// negative height counts as positive); nullopt when the header is unreadable
// or declares more than 256 palette colours.
std::optional<std::pair<long long, long long>> bmpDimensions(std::span<const std::byte> head);

// Decodes the BMP file at `path` to 8-bit sRGB pixels with three channels, or
// four when the file carries real alpha. Throws vips::VError when it cannot.
vips::VImage decodeBmp(const std::filesystem::path& path);

// An opaque BMP of `pixels`, an 8-bit image in memory with three channels
// (written as 24-bit colour) or one (written as 8 bits through a palette of
// the 256 greys), stating the picture's resolution when it has one.
Bytes encodeBmp(const vips::VImage& pixels);

// The same file as encodeBmp() gives, written to the open file `fd` as it is
// made, a band of rows at a time; `path` only names the file in an error.
// Throws FileError when writing fails.
void writeBmp(const vips::VImage& pixels, int fd, const std::filesystem::path& path);

}  // namespace MediaEngine::detail
