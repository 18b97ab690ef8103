// SPDX-License-Identifier: GPL-3.0-or-later
// BMP reading and writing through gdk-pixbuf's BMP loader and saver, asked for
// by type so that no other gdk-pixbuf module can be reached. Internal to the
// engine. Thread safety: any thread.
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

// True when gdk-pixbuf's BMP module can write; asked once per process, since
// the installed modules do not change while it runs.
bool canEncodeBmp();

// An opaque 24-bit BMP of `rgb`, a three-channel 8-bit image in memory.
// Throws vips::VError when the saver fails.
Bytes encodeBmp(const vips::VImage& rgb);

}  // namespace MediaEngine::detail
