// SPDX-License-Identifier: GPL-3.0-or-later
// The engine's picture in memory, and the pixel budget every decoder and
// renderer keeps to.
//
// Thread safety: an Image is immutable; copies may be used on any threads at
// once.
#pragma once

#include <vips/vips8>

namespace MediaEngine {

// The most pixels any decoder and renderer takes on.
inline constexpr long long pixelBudget = 100'000'000;

// An image is processed only if both sides are at least 1 and
// width <= floor(pixelBudget / height).
bool withinPixelBudget(long long width, long long height);

// The resolution, in pixels per millimetre, that the image library gives a
// picture whose file states none. Outputs that can leave their resolution
// unstated (JPEG, BMP) leave it so for this value.
inline constexpr double unstatedResolution = 1.0;

// A decoded, upright picture: 8-bit sRGB with three channels, or four with
// (unpremultiplied) alpha, held in memory, with its resolution (the picture's
// physical size, which every output keeps), and nothing else: no metadata of
// the file it came from travels with it, so no encoder can copy any out.
// Cheap to copy (the pixels are shared).
class Image {
 public:
  // `pixels` must be 8-bit sRGB with 3 or 4 bands; it is rendered into memory
  // first if it is not there yet. Its resolution is kept.
  explicit Image(const vips::VImage& pixels);

  int width() const { return pixels_.width(); }
  int height() const { return pixels_.height(); }
  bool hasAlpha() const { return pixels_.bands() == 4; }
  // Interleaved rows, width * (3 or 4) bytes each, no padding; data() is valid.
  const vips::VImage& pixels() const { return pixels_; }

 private:
  vips::VImage pixels_;  // a bare header over pixels it keeps alive
};

}  // namespace MediaEngine
