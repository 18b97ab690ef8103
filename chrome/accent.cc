// SPDX-License-Identifier: GPL-3.0-or-later
#include "chrome/accent.h"

namespace Whirlpane {

const QColor& whirlAccent() {
  static const QColor accent = QColor::fromRgbF(0.94f, 0.34f, 0.10f, 1.0f);
  return accent;
}

}  // namespace Whirlpane
