// SPDX-License-Identifier: GPL-3.0-or-later
#include "editors/controls/draw.h"

namespace Whirlpane {

void drawPicture(QPainter& painter, const QImage& image, const QRectF& rect) {
  if (image.isNull()) return;
  painter.save();
  painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
  painter.setOpacity(1.0);
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  painter.drawImage(rect, image, QRectF(0, 0, image.width(), image.height()));
  painter.restore();
}

}  // namespace Whirlpane
