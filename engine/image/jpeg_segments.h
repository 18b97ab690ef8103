// SPDX-License-Identifier: GPL-3.0-or-later
// JPEG streams without their metadata segments, taken apart at the marker
// level so that the coded image is kept bit for bit. Internal to the engine;
// any thread.
#pragma once

#include <optional>
#include <span>
#include <vector>

namespace MediaEngine::detail {

// `jpeg` without its APP1 to APP13, APP15 and comment segments, which carry
// EXIF, XMP, IPTC, maker notes, previews' indexes and comments, and without
// anything after its end-of-image marker (previews, maker trailers); JFIF
// (APP0) and Adobe (APP14), which say how to read the colours, stay, and so
// does the ICC profile (in APP2) when `keepProfile`. The coded image is
// untouched. nullopt when it is no complete JPEG stream.
std::optional<std::vector<unsigned char>> jpegWithoutMetadata(std::span<const std::byte> jpeg,
                                                              bool keepProfile);

// `jpeg` stating a resolution of `xres` by `yres` pixels per millimetre, as
// dots per inch, in a JFIF segment: one is added after the start-of-image
// marker when there is none, and one that states no unit is filled in. A
// stream with an Adobe segment, whose colour transform a JFIF segment would
// override, and one that cannot be taken apart, are returned as they are.
std::vector<unsigned char> withResolution(std::vector<unsigned char> jpeg, double xres,
                                          double yres);

}  // namespace MediaEngine::detail
