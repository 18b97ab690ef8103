// SPDX-License-Identifier: GPL-3.0-or-later
// Places a picture on a backdrop: the picture keeps its own pixels and
// transparency, gets padding, rounded corners and an optional soft shadow, and
// sits centred on a canvas of a chosen aspect ratio filled with a style or a
// photograph. Plain drawing on QImage (premultiplied ARGB, sRGB); no window.
//
// Lengths (padding, corner, shadow) are in the picture's pixels at its full
// size, so a render limited by `maxDimension` is the full render at a smaller
// scale, shadow included.
//
// Thread safety: no shared state; any thread may render.
#pragma once

#include <QImage>
#include <QPainter>
#include <QRectF>
#include <QSize>
#include <optional>

#include "editors/rendering/background_style.h"

namespace Whirlpane {

// A picture reduced once for previews, with the full size it stands for, so
// that previews keep the full render's layout without touching every pixel
// of the original on each change.
struct ReducedPicture {
  QImage image;
  QSize size;
};

namespace BackgroundRenderer {

// Output limits: neither side above `maxSide`, no more than `maxArea` pixels.
inline constexpr double maxSide = 32768;
inline constexpr double maxArea = 160'000'000;

// The canvas a render lays out, in the picture's pixels at its full size:
// `picture` plus `padding` on every side (negative counts as 0), grown (never
// shrunk) to `ratio` (width ÷ height) when one is given.
QSizeF canvasSize(QSizeF picture, double padding, std::optional<double> ratio);

// Paints `style` into `bounds` of `context` (painter coordinates, y down) and
// nowhere else. The style's fractions are measured from the bounds'
// bottom-left corner. A style without colours paints only its blobs.
void drawBackdrop(const BackgroundStyle& style, QPainter& context, const QRectF& bounds);

// The picture centred on a canvas of its size plus `padding` on every side,
// grown (never shrunk) to `ratio` (width ÷ height) when one is given, scaled
// down so that its longer side is at most `maxDimension` (never enlarged).
// The canvas shows `backgroundImage` when given (scaled to cover it, the
// overflow cropped equally on both sides), `style` otherwise. The picture is
// clipped to a rounded rectangle of radius min(corner, half its shorter side)
// and, when `shadow` > 0, casts a soft black shadow (34 % alpha, blur
// `shadow`, offset 0.35·shadow downward) from its own visible alpha.
//
// Returns none, before allocating anything, when the output would be wider or
// taller than `maxSide` or larger than `maxArea`, when an input is not a
// finite number, the picture is empty or `ratio` is not positive; and none
// when the bitmap cannot be allocated. Negative lengths count as 0.
std::optional<QImage> render(const QImage& image, const BackgroundStyle& style,
                             const std::optional<QImage>& backgroundImage, double padding,
                             double corner, double shadow, std::optional<double> ratio,
                             std::optional<double> maxDimension);

// The same render from a reduced picture: the layout is that of a picture of
// `picture.size`, drawn with `picture.image`'s pixels.
std::optional<QImage> render(const ReducedPicture& picture, const BackgroundStyle& style,
                             const std::optional<QImage>& backgroundImage, double padding,
                             double corner, double shadow, std::optional<double> ratio,
                             std::optional<double> maxDimension);

// `image` reduced once so that renders limited to `maxDimension` lose nothing:
// its longer side at most `maxDimension` (smaller pictures are kept as they
// are). Made once per picture, kept by the caller, passed to render().
ReducedPicture reducePicture(const QImage& image, int maxDimension);

// A background photograph reduced the same way: its shorter side at most
// `maxDimension`, which is all a canvas of that longer side can show of it.
QImage reduceBackdrop(const QImage& image, int maxDimension);

}  // namespace BackgroundRenderer
}  // namespace Whirlpane
