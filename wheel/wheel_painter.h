// SPDX-License-Identifier: GPL-3.0-or-later
// Paints the whole wheel in one pass from a WheelState: the translucent frame,
// the wedges with their captions and symbols, the central disc, the pill and
// the centre caption. Separate from the widget so that a picture of the wheel
// can be painted into any image.
#pragma once

#include <QColor>
#include <QFont>
#include <QPainter>
#include <QSizeF>
#include <QString>

#include "wheel/wheel_state.h"

namespace Whirlpane::WheelPainter {

// Caption colours: ordinary wedges, the hovered wedge, and the centre caption.
QColor ink();
QColor hoverInk();
QColor centerInk();

// The desktop's interface font (QGuiApplication::font()) at `size` points of
// the wheel (one point is one logical pixel on `device`), with `kerning`
// points added after every character.
QFont systemFont(qreal size, QFont::Weight weight, qreal kerning, const QPaintDevice* device);

struct Caption {
  QFont font;
  qreal size = 0;  // in points, as systemFont() takes it
  qreal kerning = 0;
  QSizeF measured;  // the text's advance (trailing kerning included) and line height
};

// The widest the centre caption may be before it shrinks.
inline constexpr qreal centerCaptionWidth = 58;

// The centre caption's font for `state`: bold 8 (with a symbol) or bold 10
// while a wedge is hovered, semibold 11 otherwise, shrunk in half-point steps
// while wider than 58 and larger than 6 points.
Caption fitCenterCaption(const QString& text, const WheelState& state, const QPaintDevice* device);

// The widest a caption of one of `count` wedges may be before it shrinks: the
// wedge's width across its caption, less the gap and a margin.
qreal wedgeCaptionWidth(int count);

// A wedge caption's font among `count` wedges: bold 8 under a symbol, bold
// 11 alone, shrunk in half-point steps while wider than
// wedgeCaptionWidth(count) and larger than 6 points (longer words than the
// English ones, in other languages).
Caption fitWedgeCaption(const QString& text, bool withSymbol, int count,
                        const QPaintDevice* device);

// The centre caption in the program's language (WheelState::centerCaption()).
QString centerText(const WheelState& state);

// Paints the wheel for `state` into a view of `size`, in the view's own
// coordinates (origin at its top-left corner).
void paint(QPainter& painter, QSizeF size, const WheelState& state);

}  // namespace Whirlpane::WheelPainter
