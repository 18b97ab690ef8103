// SPDX-License-Identifier: GPL-3.0-or-later
// The flat push button of the editors' action bars: a rounded rectangle,
// filled with the accent colour when primary (half strength when disabled)
// or a faint grey when secondary, with its title or symbol centred.
//
// Thread safety: main thread only.
#pragma once

#include <QAbstractButton>
#include <functional>

namespace Whirlpane {

class ActionButton : public QAbstractButton {
  Q_OBJECT

 public:
  // Placed at `frame` in `parent`; the owner sets the title, primary, the
  // handler, the object name and the font.
  ActionButton(const QRectF& frame, QWidget* parent);

  // Called on each click, when set.
  std::function<void()> handler;

  bool primary() const { return primary_; }
  void setPrimary(bool primary);

  // An icon-only button: the project's symbol `name` (chrome/symbols.h),
  // 12 points, in the label colour at 70 %, centred at its natural size,
  // shows when the title is empty.
  void setSymbol(const QString& name);
  const QString& symbol() const { return symbol_; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  bool primary_ = false;
  QString symbol_;
};

}  // namespace Whirlpane
