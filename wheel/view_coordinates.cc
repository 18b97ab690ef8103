// SPDX-License-Identifier: GPL-3.0-or-later
#include "wheel/view_coordinates.h"

namespace Whirlpane {

QPainterPath ViewCoordinates::toQt(const Outline& outline) const {
  QPainterPath path;
  for (const OutlineStep& step : outline) {
    switch (step.kind) {
      case OutlineStep::Kind::move:
        path.moveTo(toQt(step.to));
        break;
      case OutlineStep::Kind::line:
        path.lineTo(toQt(step.to));
        break;
      case OutlineStep::Kind::arc: {
        const QPointF center = toQt(step.center);
        const QPointF corner(step.radius, step.radius);
        path.arcTo(QRectF(center - corner, center + corner), step.startAngle, step.sweep);
        break;
      }
      case OutlineStep::Kind::close:
        path.closeSubpath();
        break;
    }
  }
  return path;
}

}  // namespace Whirlpane
