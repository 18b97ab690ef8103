// SPDX-License-Identifier: GPL-3.0-or-later
// The window that introduces Whirlpane on first run and from "How to Use…":
// a heading, four short paragraphs and an "Open a File…" button. Its width
// is fixed; texts longer than English wrap, and the window grows taller. Its
// title bar offers only the close button, and Escape closes it too.
//
// Thread safety: main thread only.
#pragma once

#include <QPushButton>
#include <QWidget>
#include <functional>

namespace Whirlpane {

class IntroductionWindow : public QWidget {
  Q_OBJECT

 public:
  static constexpr int width = 430;
  static constexpr int height = 345;  // with the English texts

  // `dragWatch`: whether the wheel comes up by itself during a drag here (X11)
  // or must be opened first (Wayland); `window`: whether the program has its
  // own window (no tray shows it). The paragraphs say what holds in that
  // session: the drag gesture; or the hot key, the tray menu and a shortcut
  // of the desktop's own; or the window and that shortcut. `onOpenFile` runs
  // when the button (or Return) is pressed.
  IntroductionWindow(bool dragWatch, bool window, std::function<void()> onOpenFile);

  // The four paragraphs, separated by blank lines.
  static QString text(bool dragWatch, bool window);

  QPushButton* openButton() const { return open_; }

 protected:
  // Escape closes the window, as it does a dialog.
  void keyPressEvent(QKeyEvent* event) override;

 private:
  QPushButton* open_ = nullptr;
};

}  // namespace Whirlpane
