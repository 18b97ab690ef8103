// SPDX-License-Identifier: GPL-3.0-or-later
// What the add-background editor decides without a window: the canvas ratios
// it offers, how far its sliders reach for a picture of a given size, and the
// style a custom colour makes.
//
// Thread safety: plain values and functions; any thread.
#pragma once

#include <QColor>
#include <QSize>
#include <QString>
#include <optional>
#include <vector>

#include "editors/rendering/background_style.h"

namespace Whirlpane {

// One choice of the ratio picker: its label and the canvas ratio (width ÷
// height) it asks for; none lets the canvas follow the padded picture.
struct BackgroundRatio {
  QString label;  // in English
  std::optional<double> ratio;

  // The label in the program's language.
  QString displayLabel() const;
};

// "Auto", "1:1", "16:9" and "4:5", in the picker's order.
const std::vector<BackgroundRatio>& backgroundRatios();

// The sliders' values as the editor opens and after Reset, in pixels of the
// picture.
inline constexpr double defaultPadding = 160;
inline constexpr double defaultCorner = 24;
inline constexpr double defaultShadow = 24;
inline constexpr double maximumShadow = 160;

// The padding slider's reach for `picture`: 0.625 of its longer side, never
// below 400, so a small picture can still sit on a wide backdrop.
double paddingMaximum(QSize picture);

// The corner slider's reach for `picture`: 0.24 of its longer side, never
// below 100.
double cornerMaximum(QSize picture);

// The longest side a render of a canvas of `canvas` (picture pixels at full
// size, as BackgroundRenderer::canvasSize gives) is limited to so that it
// holds at most `maxPixels` pixels and neither side exceeds
// BackgroundRenderer::maxSide: the largest such, the same look scaled. None
// when the canvas fits at full size.
std::optional<double> fittingDimension(QSizeF canvas, double maxPixels);

// The flat style of a colour the user picked: named "Custom", no blobs.
BackgroundStyle customStyle(const QColor& color);

}  // namespace Whirlpane
