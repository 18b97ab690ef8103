// SPDX-License-Identifier: GPL-3.0-or-later
#include "editors/common/editor_style.h"

#include <QGuiApplication>
#include <cmath>

namespace Whirlpane {

QFont editorFont(qreal pixels, QFont::Weight weight) {
  QFont font = QGuiApplication::font();
  // Qt takes whole pixel sizes; half sizes are set as points at 72 dpi.
  if (pixels == std::floor(pixels)) {
    font.setPixelSize(static_cast<int>(pixels));
  } else {
    font.setPointSizeF(pixels * 72.0 / 96.0);
  }
  font.setWeight(weight);
  return font;
}

QColor labelColor(qreal alpha) { return QColor::fromRgbF(0, 0, 0, 0.85f * float(alpha)); }

QColor hintColor() { return labelColor(0.72); }

QColor editorSurfaceColor() { return QColor::fromRgbF(0.9412f, 0.93f, 0.9314f); }

}  // namespace Whirlpane
