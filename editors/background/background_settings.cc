// SPDX-License-Identifier: GPL-3.0-or-later
#include "editors/background/background_settings.h"

#include <QCoreApplication>
#include <algorithm>
#include <cmath>

#include "editors/rendering/background_renderer.h"

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

std::optional<double> fittingDimension(QSizeF canvas, double maxPixels) {
  const double longer = std::max(canvas.width(), canvas.height());
  // The sides a render limited to `dimension` has, rounded as it rounds them.
  const auto fits = [&](double dimension) {
    const double s = std::min(dimension / longer, 1.0);
    const double w = std::max(std::round(canvas.width() * s), 1.0);
    const double h = std::max(std::round(canvas.height() * s), 1.0);
    return w <= BackgroundRenderer::maxSide && h <= BackgroundRenderer::maxSide &&
           w * h <= maxPixels;
  };
  if (!(longer > 0) || fits(longer)) return std::nullopt;
  double dimension =
      std::floor(std::min({BackgroundRenderer::maxSide,
                           longer * std::sqrt(maxPixels / (canvas.width() * canvas.height()))}));
  while (dimension > 1 && !fits(dimension)) --dimension;
  return dimension;
}

BackgroundStyle customStyle(const QColor& color) {
  return BackgroundStyle{"Custom", {color}, false, {}};
}

}  // namespace Whirlpane
