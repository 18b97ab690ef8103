// SPDX-License-Identifier: GPL-3.0-or-later
// The floating window the wheel lives in: one 266 × 266 top-level window,
// made once and then only moved, shown and hidden. It is frameless, stays
// above other windows, is kept out of task bars and window switchers, and
// can take drops in the middle of another program's drag without taking the
// focus from it. Where a compositor runs it is translucent around the wheel
// disc (and on Wayland its corners let presses and drops through); without
// one it is cut to the disc (radius 119), so that its corners neither show
// black nor catch drops.
//
// Its content (the disc's backdrop under the RadialMenu) can be painted
// scaled about the centre, which is how the wheel grows into view; the cut
// (or, with glass, the desktop's blur behind the disc) follows the scale.
//
// Thread safety: main thread only.
#pragma once

#include <QWidget>

namespace Whirlpane {

class Backdrop;
class GrowAnimation;
class RadialMenu;

class WheelPanel : public QWidget {
  Q_OBJECT

 public:
  // `composited`: whether a compositor shows translucent windows; fixed for
  // the window's life.
  explicit WheelPanel(bool composited);

  RadialMenu* menu() const { return menu_; }
  Backdrop* backdrop() const { return backdrop_; }
  GrowAnimation* grow() const { return grow_; }
  bool isComposited() const { return composited_; }

  // Whether the window may take the keyboard focus: not while it shows for a
  // drag, whose source must keep it. Set before showing.
  void setAcceptsFocus(bool accepts);

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void cutToScale(qreal scale);

  bool composited_;
  QWidget* content_ = nullptr;
  Backdrop* backdrop_ = nullptr;
  RadialMenu* menu_ = nullptr;
  GrowAnimation* grow_ = nullptr;
};

}  // namespace Whirlpane
