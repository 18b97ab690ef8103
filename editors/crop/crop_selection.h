// SPDX-License-Identifier: GPL-3.0-or-later
// The crop rectangle and how the mouse moves it, without a window: all in the
// picture's pixels (origin at its top-left corner, y down, doubles), turned
// into view points only to draw and to find what a click grabbed. The canvas
// widget hands its bounds and the pointer in; everything else lives here.
//
// Thread safety: a plain value; one thread at a time.
#pragma once

#include <QPointF>
#include <QRectF>
#include <QSize>
#include <array>
#include <optional>

namespace Whirlpane {

class CropSelection {
 public:
  // What a drag moves: the corners and edges clockwise from the top-left
  // corner, then the whole rectangle, then a new rectangle from the press.
  enum Handle {
    none = -1,
    topLeft = 0,
    top = 1,
    topRight = 2,
    right = 3,
    bottomRight = 4,
    bottom = 5,
    bottomLeft = 6,
    left = 7,
    move = 8,
    newSelection = 9,
  };
  // How close (in view points) a press must come to a handle to grab it.
  static constexpr qreal grabDistance = 11;
  // The picture's margin inside the canvas, in view points.
  static constexpr qreal margin = 10;

  // The whole picture of `size` selected, no ratio, no drag.
  explicit CropSelection(QSize size);

  QSize imageSize() const { return size_; }
  const QRectF& selection() const { return selection_; }
  // Taken as it is; callers that take user input pass it through bounded().
  void setSelection(const QRectF& selection) { selection_ = selection; }
  std::optional<double> aspectRatio() const { return ratio_; }
  int dragHandle() const { return dragHandle_; }

  // `rect` fitted into the picture, at least 1 × 1; with a ratio locked it
  // shrinks uniformly (never grows) and keeps its shape.
  QRectF bounded(const QRectF& rect) const;

  // Locks the width ÷ height `ratio`, keeping the width and the top-left
  // corner where the picture allows; none unlocks and changes nothing else.
  void setRatio(std::optional<double> ratio);
  // The selection at `width` × `height` from its top-left corner; with a
  // ratio the side not being changed follows. Non-finite sizes are ignored.
  void setSize(double width, double height, bool changingWidth);
  // The whole picture, no ratio.
  void reset();
  // The selection rounded to whole pixels (half away from zero, at least 1)
  // and kept inside the picture.
  QRect pixelRect() const;

  // Where the picture is drawn in a canvas of `bounds`: inset by the margin
  // and as large as fits, centred (small pictures are enlarged).
  QRectF imageRect(const QRectF& bounds) const;
  QRectF displaySelection(const QRectF& bounds) const;
  // The view point `p` in picture pixels, clamped to the picture.
  QPointF sourcePoint(const QRectF& bounds, QPointF p) const;
  // The points of handles 0 … 7 on `rect`.
  static std::array<QPointF, 8> handles(const QRectF& rect);

  // The mouse, in view points of a canvas of `bounds`.
  void mouseDown(const QRectF& bounds, QPointF p);
  void mouseDragged(const QRectF& bounds, QPointF p);
  void mouseUp();

 private:
  QRectF dragged(QPointF q) const;

  QSize size_;
  QRectF selection_;
  std::optional<double> ratio_;
  QRectF startRect_;
  QPointF startPoint_;
  int dragHandle_ = none;
};

}  // namespace Whirlpane
