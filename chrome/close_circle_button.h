// SPDX-License-Identifier: GPL-3.0-or-later
// The small round close button of the toast and the editor windows: a faint
// disc with an "x" mark, darker while pressed. Only Tab gives it the keyboard
// focus (a click does not), so a window that must not steal focus can carry
// it; focused, it shows the accent focus ring.
#pragma once

#include <QAbstractButton>
#include <functional>

namespace Whirlpane {

class CloseCircleButton : public QAbstractButton {
  Q_OBJECT

 public:
  // `identifier` becomes the object name (the accessibility identifier) and
  // `label` the accessible name.
  CloseCircleButton(const QRect& frame, const QString& identifier, const QString& label,
                    QWidget* parent);

  // Called on each click, when set.
  std::function<void()> handler;

 protected:
  void paintEvent(QPaintEvent* event) override;
};

}  // namespace Whirlpane
