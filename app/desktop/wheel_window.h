// SPDX-License-Identifier: GPL-3.0-or-later
// Whirlpane's own window, for desktops where no tray shows the program and
// for launches that ask for it ("--window"): a normal, movable window titled
// "Whirlpane", listed in the task switcher, showing the wheel's disc at rest
// with "Drop files here" in its pill. Dropping files on it is the gesture
// where no drag can be watched, and it takes drops the way every Qt window
// does, on any display.
//
// Input and what it reports (the window itself converts nothing):
//   files dragged over the disc      the wedges for them: the formats for the
//                                    first file, the tools while Alt is held;
//                                    the wedge under the drag lights up
//   drop on a wedge                  onAction(wedge, dropped files), on a
//                                    later turn of the event loop, as the
//                                    floating wheel does
//   drop on the centre               onOpenWheel(dropped files, tools)
//   click on the centre              onCenterClick()
//   a wedge pressed at rest (by the  onActionWithoutFiles(wedge): the window
//   pointer, a typed number or an    holds no files of its own
//   assistive tool)
//   Tab, Space                       switches between formats and tools
//   menu button, right click, Menu   onMenu(where the menu goes)
//   closing the window               onClose()
//
// The rules are WindowDrop's, so that they are tested without a window.
//
// Thread safety: main thread only.
#pragma once

#include <QWidget>
#include <filesystem>
#include <functional>
#include <optional>
#include <vector>

#include "wheel/radial_menu.h"
#include "wheel/wheel_action.h"
#include "wheel/wheel_geometry.h"

class QToolButton;

namespace Whirlpane {

// What the window does with files dragged over it.
struct WindowDrop {
  using Files = std::vector<std::filesystem::path>;

  // The dragged files the window takes: those Whirlpane opens, in order.
  static Files accepted(const Files& dragged);

  // The wedges offered for `files` (accepted ones, not empty): the tools
  // while `tools`, else the formats for the first file.
  static std::vector<WheelAction> wedges(const Files& files, bool tools,
                                         const std::vector<WheelAction>& toolWedges);

  // Where a drop at `point` lands: on the wedge that owns the point (its
  // index), else on the centre (closer than 47), else nowhere.
  enum class Target { nowhere, wedge, centre };
  struct Landing {
    Target target = Target::nowhere;
    int wedge = -1;
  };
  static Landing landing(const WheelGeometry& geometry, WheelPoint point);
};

// The disc inside the window: the wheel's own view, with the window's rules
// for presses and drops.
class WindowWheel : public RadialMenu {
  Q_OBJECT

 public:
  using RadialMenu::RadialMenu;

  std::function<void(const Files& files, bool tools)> onOpenWheel;
  std::function<void()> onCenterClick;
  std::function<void(QPoint global)> onMenu;
  // The tools' wedges, and whether the window shows them at rest.
  std::vector<WheelAction> toolWedges;
  bool toolsAtRest = false;

  // Back to rest: the formats (or the tools) for no file, inviting a drop.
  void rest();

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dragLeaveEvent(QDragLeaveEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  WheelPoint pointOf(QPointF widgetPoint) const;
  void follow(QDragMoveEvent* event);
  bool dragTools_ = false;
};

class WheelWindow : public QWidget {
  Q_OBJECT

 public:
  static constexpr int side = 300;

  explicit WheelWindow(std::vector<WheelAction> tools);

  WindowWheel* wheel() const { return wheel_; }
  QToolButton* menuButton() const { return menuButton_; }

  // Shows the window, brings it to the front and gives it the focus.
  void present();

  std::function<void()> onClose;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  WindowWheel* wheel_ = nullptr;
  QToolButton* menuButton_ = nullptr;
};

}  // namespace Whirlpane
