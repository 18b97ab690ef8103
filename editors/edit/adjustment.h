// SPDX-License-Identifier: GPL-3.0-or-later
// The Edit editor's picture work, without a window: brightness, contrast and
// saturation as one colour matrix, a mirror and quarter turns, all applied in
// one pass over the pixels that writes each result pixel once, on both cores.
//
// The colour maths, on values from 0 to 1: saturation s mixes each channel
// with the pixel's luminance (Rec. 709 weights 0.2126, 0.7152, 0.0722), L +
// s·(c − L); contrast k scales around mid-grey, (c − 0.5)·k + 0.5; brightness
// b is added. So 0, 1 and 1 change nothing, saturation 0 is grey, contrast 0
// is flat mid-grey. Premultiplied pixels get the added part scaled by their
// alpha, so transparent parts stay transparent.
//
// Thread safety: plain functions; any thread (QImage is reentrant).
#pragma once

#include <QImage>
#include <array>

namespace Whirlpane {

struct Adjustment {
  double brightness = 0;  // −1 … 1
  double contrast = 1;    // 0 … 2
  double saturation = 1;  // 0 … 2
  int quarterTurns = 0;   // clockwise, 0 … 3
  bool flipped = false;   // mirrored left to right, before the turns

  bool operator==(const Adjustment&) const = default;
};

// The longer side a preview works on.
inline constexpr int previewSide = 900;

// The 3 × 4 matrix (rows red, green, blue; columns red, green, blue, added)
// that brightness, contrast and saturation make together.
std::array<std::array<double, 4>, 3> colorMatrix(const Adjustment& adjustment);

// `image` reduced to at most `previewSide` on its longer side (never
// enlarged), as a premultiplied ARGB image.
QImage previewSource(const QImage& image);

// `image` with `adjustment` applied: the colours, then the mirror, then the
// turns. A premultiplied ARGB image; null when `image` is null or too large
// to hold.
QImage adjusted(const QImage& image, const Adjustment& adjustment);

}  // namespace Whirlpane
