// SPDX-License-Identifier: GPL-3.0-or-later
// A small rounded button showing a colour, filled edge to edge (a swatch) or
// inside a light bezel; clicking it opens the colour chooser as a sheet on
// its window, and a colour chosen there becomes the well's colour.
//
// Thread safety: main thread only.
#pragma once

#include <QAbstractButton>
#include <QColor>
#include <QColorDialog>
#include <QPointer>
#include <functional>

namespace Whirlpane {

class ColorWell : public QAbstractButton {
  Q_OBJECT

 public:
  enum class Look { swatch, bezel };

  ColorWell(const QRectF& frame, const QColor& color, QWidget* parent, Look look = Look::swatch);

  const QColor& color() const { return color_; }
  // Sets the colour from code; onChange is not called.
  void setColor(const QColor& color);

  // Called with the colour the user chose in the chooser (OK pressed).
  std::function<void(const QColor&)> onChange;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void choose();

  QColor color_;
  Look look_;
  QPointer<QColorDialog> chooser_;  // while it is up
};

}  // namespace Whirlpane
