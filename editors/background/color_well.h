// A small rounded button filled with a colour; clicking it opens the colour
// chooser as a sheet on its window, and a colour chosen there becomes the
// well's colour.
//
// Thread safety: main thread only.
#pragma once

#include <QAbstractButton>
#include <QColor>
#include <QColorDialog>
#include <QPointer>
#include <functional>

namespace Whirlpane {

class WPColorWell : public QAbstractButton {
 public:
  WPColorWell(const QRectF& frame, const QColor& color, QWidget* parent);

  const QColor& color() const { return color_; }
  // Sets the colour from code; onChange is not called.
  void setColor(const QColor& color);

  // Called after the user chose a colour in the chooser (OK pressed).
  std::function<void()> onChange;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void choose();

  QColor color_;
  QPointer<QColorDialog> chooser_;  // while it is up
};

}  // namespace Whirlpane
