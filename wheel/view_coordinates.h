// SPDX-License-Identifier: GPL-3.0-or-later
// The one place where the wheel's coordinates (origin at the bottom left,
// y up, angles counter-clockwise) become a Qt widget's (origin at the top left,
// y down) and back. Angles keep their values: Qt's arcs also count
// counter-clockwise as seen on the screen.
#pragma once

#include <QPainterPath>
#include <QPointF>
#include <QRectF>

#include "wheel/wheel_geometry.h"

namespace Whirlpane {

class ViewCoordinates {
 public:
  // For a view `height` tall.
  explicit ViewCoordinates(qreal height) : height_(height) {}

  QPointF toQt(WheelPoint point) const { return {point.x, height_ - point.y}; }
  WheelPoint fromQt(QPointF point) const { return {point.x(), height_ - point.y()}; }

  // The rectangle whose bottom-left corner is `origin`.
  QRectF toQt(WheelPoint origin, QSizeF size) const {
    return {origin.x, height_ - origin.y - size.height(), size.width(), size.height()};
  }

  // `outline` as a path to fill and stroke.
  QPainterPath toQt(const Outline& outline) const;

 private:
  qreal height_;
};

}  // namespace Whirlpane
