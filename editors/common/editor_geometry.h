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
#include <vector>

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
// whose Reset and Save buttons are `resetWidth` and `saveWidth` wide: what is
// left between them, never less than 40.
qreal statusLineWidth(qreal windowWidth, qreal resetWidth, qreal saveWidth);

// The Save button's width for a title measured `titleWidth` wide.
qreal saveButtonWidth(qreal titleWidth);

// The Reset button's width for a title measured `titleWidth` wide: 46, or
// wide enough for a longer title.
qreal resetButtonWidth(qreal titleWidth);

// The knob of a slider over the bar `bar` at `value` in [`minimum`,
// `maximum`]: 18 × 12, centred on the bar's middle, from the bar's left end at
// the minimum to its right end at the maximum. A range of no width counts as
// 0.0001 wide, so the knob then sits at the left end.
QRectF sliderKnobRect(const QRectF& bar, double value, double minimum, double maximum);

// The value a slider over `bar` takes when the knob's centre is dragged to
// `x`, clamped to the range.
double sliderValueAt(const QRectF& bar, qreal x, double minimum, double maximum);

// The edges of a ratio control's segments, from 0 to `width`, for labels
// that need `needs` (each label's width and its margins): equal segments
// when every label fits an equal share; otherwise a label that does not gets
// what it needs and the others share the rest equally; when even that leaves
// too little, every segment in proportion to its need. No labels make one
// segment.
std::vector<qreal> ratioSegmentEdges(const std::vector<qreal>& needs, qreal width);

// The segment between `edges` that a click at `x` selects: clicks left of the
// first pick the first, right of the last pick the last.
int ratioSegmentAt(qreal x, const std::vector<qreal>& edges);

// The slider value text when the owner gives none: the value cut toward zero
// and " px" ("24 px" for 24.9).
QString pixelValueText(double value);

// value × 100 rounded half away from zero, and "%" ("80%" for 0.8).
QString percentValueText(double value);

}  // namespace Whirlpane
