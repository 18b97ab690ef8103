// SPDX-License-Identifier: GPL-3.0-or-later
// PNG files without their metadata chunks. Internal to the engine; any thread.
#pragma once

#include <optional>
#include <span>

#include "whirlpane/bytes.h"

namespace MediaEngine::detail {

// `png` with only the chunks that make its picture and say how to show it:
// header, palette, image data and end; transparency, gamma, chromaticities,
// sRGB, ICC profile, coding-independent code points, mastering display and
// light levels, significant bits, background and resolution. Text, EXIF,
// times and every other chunk go; the image data is kept byte for byte.
// nullopt when it is not a well-formed PNG file.
std::optional<Bytes> pngWithoutMetadata(std::span<const std::byte> png);

}  // namespace MediaEngine::detail
