// SPDX-License-Identifier: GPL-3.0-or-later
// A small rounded button showing one background style, outlined in the
// accent colour when it is the chosen one. The swatch does not know how a
// style is drawn: its owner hands it the routine that paints the style's
// backdrop into a rectangle.
//
// Thread safety: main thread only.
#pragma once

#include <QAbstractButton>
#include <QPainter>
#include <functional>

namespace Whirlpane {

class BackgroundSwatch : public QAbstractButton {
  Q_OBJECT

 public:
  // Paints a style's backdrop to fill the given rectangle (already clipped to
  // the swatch's rounded shape).
  using Backdrop = std::function<void(QPainter&, const QRectF&)>;

  // `name` is the style's name, the accessible name of the swatch.
  BackgroundSwatch(const QRectF& frame, const QString& name, Backdrop backdrop, QWidget* parent);

  bool selected() const { return selected_; }
  void setSelected(bool selected);

  // Called on each click, when set.
  std::function<void()> handler;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  Backdrop backdrop_;
  bool selected_ = false;
};

}  // namespace Whirlpane
