// SPDX-License-Identifier: GPL-3.0-or-later
#include "chrome/accent.h"

namespace Whirlpane {

const QColor& whirlAccent() {
  static const QColor accent = QColor::fromRgbF(0.94f, 0.34f, 0.10f, 1.0f);
  return accent;
}

void drawFocusRing(QPainter& painter, const QRectF& bounds, qreal radius) {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(QPen(whirlAccent(), 2));
  painter.setBrush(Qt::NoBrush);
  painter.drawRoundedRect(bounds.adjusted(1, 1, -1, -1), radius, radius);
  painter.restore();
}

}  // namespace Whirlpane
