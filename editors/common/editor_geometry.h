// SPDX-License-Identifier: GPL-3.0-or-later
// The editors' measurements that need no window: where an editor window goes
// on the desktop, where a picture fits in a preview, how wide the action bar's status line is,
// where a slider's knob sits, which segment of a ratio control a click picks, and the texts of
// slider values. Desktop coordinates are Qt's global ones (origin at the top
// left, y down).
//
// Thread safety: plain functions of their arguments; any thread.
#pragma once

#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <QString>

namespace Whirlpane {

// The top-left corner of a window of `size` shown at `point`: centred on the
// point and kept 8 inside `available` (the work area of the screen under the
// point). On a work area too small for the window the left and bottom
// margins win. An empty `available` (no screen) leaves the window centred.
QPointF editorOrigin(QPointF point, const QRectF& available, QSizeF size);

// Where a picture of `picture` pixels shows in `bounds` kept `inset` inside
// each edge: as large as fits, its proportions kept, centered. Empty when
// the picture or the inset area is empty.
QRectF fitInInset(const QRectF& bounds, QSizeF picture, qreal inset);

// The width of the action bar's status line in a window `windowWidth` wide
// whose Save button is `saveWidth` wide: what is left between Reset and Save,
// never less than 40.
qreal statusLineWidth(qreal windowWidth, qreal saveWidth);

// The Save button's width for a title measured `titleWidth` wide.
qreal saveButtonWidth(qreal titleWidth);

// The knob of a slider over the bar `bar` at `value` in [`minimum`,
// `maximum`]: 18 × 12, centred on the bar's middle, from the bar's left end at
// the minimum to its right end at the maximum. A range of no width counts as
// 0.0001 wide, so the knob then sits at the left end.
QRectF sliderKnobRect(const QRectF& bar, double value, double minimum, double maximum);

// The value a slider over `bar` takes when the knob's centre is dragged to
// `x`, clamped to the range.
double sliderValueAt(const QRectF& bar, qreal x, double minimum, double maximum);

// The segment of a ratio control `width` wide with `count` segments that a
// click at `x` selects: clicks left of the first pick the first, right of
// the last pick the last. A control of fewer than 2 segments counts as 1.
int ratioSegmentAt(qreal x, qreal width, int count);

// The slider value text when the owner gives none: the value cut toward zero
// and " px" ("24 px" for 24.9).
QString pixelValueText(double value);

// value × 100 rounded half away from zero, and "%" ("80%" for 0.8).
QString percentValueText(double value);

}  // namespace Whirlpane
