// SPDX-License-Identifier: GPL-3.0-or-later
// JPEG streams turned upright without decoding them: libjpeg-turbo's lossless
// transforms move the coded blocks, so no pixel changes. Internal to the
// engine; any thread.
#pragma once

#include <optional>
#include <span>
#include <vector>

namespace MediaEngine::detail {

// `jpeg`, whose EXIF `orientation` (2 to 8) says how its stored pixels are to
// be turned or mirrored to show upright, with the turn applied to its coded
// blocks, in its own mode (baseline or progressive) and with Huffman tables
// made for the result, and with its segments as they were (the orientation
// tag included; callers drop it with the rest of the metadata). nullopt when
// the turn cannot be made without loss (a side that is not a whole number of
// blocks where the turn moves that edge), when the stream cannot be read
// without a warning, or for any other orientation.
std::optional<std::vector<unsigned char>> turnedUpright(std::span<const std::byte> jpeg,
                                                        int orientation);

// The part (`x`, `y`, `width`, `height`) of `jpeg`'s stored pixels, cut out
// of its coded blocks without decoding them, so every pixel stays what it was:
// in its own mode, with Huffman tables made for the result, and without the
// source's segments. nullopt when `x` or `y` is off the stream's MCU grid,
// the rectangle leaves the picture, or the stream cannot be read without a
// warning.
std::optional<std::vector<unsigned char>> croppedLosslessly(std::span<const std::byte> jpeg, int x,
                                                            int y, int width, int height);

}  // namespace MediaEngine::detail
