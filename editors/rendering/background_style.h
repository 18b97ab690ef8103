// SPDX-License-Identifier: GPL-3.0-or-later
// The backdrops a picture can be placed on: a flat colour, a gradient, or a
// gradient with soft colour spots ("blobs"), and the two built-in lists the
// add-background editor offers, gradients first, then solids.
//
// Thread safety: values. The built-in lists are built once, on first use,
// and never change, so they may be read from any thread.
#pragma once

#include <QColor>
#include <QString>
#include <cstdint>
#include <vector>

namespace Whirlpane {

struct BackgroundStyle {
  // A soft spot of colour: full colour at its centre, fading to nothing at
  // `radius`. `x` and `y` are fractions of the backdrop's width and height
  // measured from its bottom-left corner; `radius` is a fraction of the
  // backdrop's shorter side.
  struct Blob {
    QColor color;
    double x = 0;
    double y = 0;
    double radius = 0;
  };

  QString name;  // in English; also what tests and pictures call it by
  // One colour: a flat fill. Two or more: a gradient with evenly spaced stops
  // in list order, top to bottom (or, with `spectrum`, top-left to
  // bottom-right). None: no base is painted.
  std::vector<QColor> colors;
  // A diagonal gradient with two glows, yellow near the top right and violet
  // at the bottom right, painted over the blobs.
  bool spectrum = false;
  std::vector<Blob> blobs;

  // The name in the program's language.
  QString displayName() const;

  // The 11 gradient styles, "Sunset" first.
  static const std::vector<BackgroundStyle>& gradients();
  // The 13 flat colours, "White" first.
  static const std::vector<BackgroundStyle>& solids();
};

// The opaque sRGB colour 0xRRGGBB.
QColor rgb(std::uint32_t hex);

}  // namespace Whirlpane
