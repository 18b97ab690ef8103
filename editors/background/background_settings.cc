// SPDX-License-Identifier: GPL-3.0-or-later
#include "editors/background/background_settings.h"

#include <QCoreApplication>
#include <algorithm>

namespace Whirlpane {

const std::vector<BackgroundRatio>& backgroundRatios() {
  static const std::vector<BackgroundRatio> ratios = {
      //: The backdrop's first aspect ratio: follow the padded picture.
      {QT_TRANSLATE_NOOP("Whirlpane::BackgroundRatio", "Auto"), std::nullopt},
      {"1:1", 1.0},
      {"16:9", 16.0 / 9.0},
      {"4:5", 0.8}};
  return ratios;
}

QString BackgroundRatio::displayLabel() const {
  return QCoreApplication::translate("Whirlpane::BackgroundRatio", label.toUtf8().constData());
}

double paddingMaximum(QSize picture) {
  return std::max(0.625 * std::max(picture.width(), picture.height()), 400.0);
}

double cornerMaximum(QSize picture) {
  return std::max(0.24 * std::max(picture.width(), picture.height()), 100.0);
}

BackgroundStyle customStyle(const QColor& color) {
  return BackgroundStyle{"Custom", {color}, false, {}};
}

}  // namespace Whirlpane
