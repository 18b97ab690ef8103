// SPDX-License-Identifier: GPL-3.0-or-later
// The one way the editors draw a picture into a rectangle: stretched to fill
// it, upright, over what is there, smoothly resampled.
//
// Thread safety: whatever `painter`'s device allows (an image on any thread,
// a widget on the main thread).
#pragma once

#include <QImage>
#include <QPainter>
#include <QRectF>

namespace Whirlpane {

void drawPicture(QPainter& painter, const QImage& image, const QRectF& rect);

}  // namespace Whirlpane
