// SPDX-License-Identifier: GPL-3.0-or-later
// WebP files without their metadata chunks. Internal to the engine; any thread.
#pragma once

#include <optional>
#include <span>

#include "whirlpane/bytes.h"

namespace MediaEngine::detail {

// `webp` without the chunks that hold metadata (EXIF, XMP) and, unless
// `keepProfile`, without its ICC profile (ICCP), with the extended header's
// flags for the dropped chunks cleared; the coded picture is kept byte for
// byte. (libvips 8.14 writes an EXIF chunk of its own making, with
// orientation, resolution and version fields, into every WebP file, "strip"
// or not.) nullopt when it is not a well-formed WebP file.
std::optional<Bytes> webpWithoutMetadata(std::span<const std::byte> webp, bool keepProfile);

}  // namespace MediaEngine::detail
