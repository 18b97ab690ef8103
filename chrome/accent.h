// SPDX-License-Identifier: GPL-3.0-or-later
// The accent colour the progress bar fills with and other windows highlight in.
#pragma once

#include <QColor>
#include <QPainter>
#include <QRectF>

namespace Whirlpane {

// sRGB (0.94, 0.34, 0.10), opaque; made once, shared by everyone.
const QColor& whirlAccent();

// The keyboard focus ring every control of ours shows while it has the focus:
// a 2-point accent line just inside `bounds`, its corners of `radius`. A
// control drawing one keeps its own face inside focusRingInset() of its edge.
void drawFocusRing(QPainter& painter, const QRectF& bounds, qreal radius);
constexpr qreal focusRingInset = 3;

}  // namespace Whirlpane
