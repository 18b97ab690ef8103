// SPDX-License-Identifier: GPL-3.0-or-later
// The wheel view: a square widget that paints the wheel of Whirlpane's actions
// around its centre and is what the user acts on. It follows the pointer to
// light up a wedge, takes presses, keys and dropped files, and reports the
// user's choice through its callbacks; it never converts or opens anything
// itself. Only the wheel disc (radius 119) is the wheel's: pointer events
// outside it are left to the window.
//
// Inputs and what they report:
//   press on a wedge            onAction(wedge, files), on the press
//   press on the centre (< 47)  onToggle() on release, unless the pointer
//                               went more than 3 points: then the window
//                               follows the pointer instead
//   right press                 onToggle()
//   Escape                      onDismiss()
//   Tab, Space                  onToggle()
//   typed number n, 1 ≤ n ≤ N   onAction(wedge n − 1, files)
//   files dropped on a wedge    onAction(wedge, dropped files), on a later
//                               turn of the event loop, so that the drag
//                               source is done first
//
// For assistive tools every wedge is a button (see wheel_accessibility.h).
//
// Thread safety: main thread only.
#pragma once

#include <QWidget>
#include <filesystem>
#include <functional>
#include <optional>
#include <vector>

#include "wheel/wheel_geometry.h"
#include "wheel/wheel_input.h"
#include "wheel/wheel_state.h"

class QMimeData;

namespace Whirlpane {

class WheelAccessibilityElement;

class RadialMenu : public QWidget {
  Q_OBJECT
  // Animatable: the captions fade in after the wheel appears.
  Q_PROPERTY(double labelAlpha READ labelAlpha WRITE setLabelAlpha)

 public:
  using Files = std::vector<std::filesystem::path>;

  explicit RadialMenu(QWidget* parent = nullptr);

  const WheelState& state() const { return state_; }
  // The geometry of the current wedges in the current size.
  WheelGeometry wheelGeometry() const;

  const std::vector<WheelAction>& actions() const { return state_.actions; }
  // Also clears the hovered wedge and makes new accessible wedges.
  void setActions(std::vector<WheelAction> actions);
  void setFile(std::optional<std::filesystem::path> file);
  // What a press, a typed number or an accessible press acts on.
  const Files& files() const { return state_.files; }
  void setFiles(Files files);
  void setProvisionalFiles(Files files);
  std::optional<int> hovered() const { return state_.hovered; }
  // Repaints only when the hovered wedge actually changes.
  void setHovered(std::optional<int> hovered);
  double labelAlpha() const { return state_.labelAlpha; }
  void setLabelAlpha(double alpha);
  void setHasGlassBackdrop(bool glass);
  // Does not repaint by itself: the tools wheel also brings its own actions.
  void setIsTools(bool tools) { state_.isTools = tools; }
  void setInvitesDrop(bool invites);

  // The wedge under `desktopPoint` (global coordinates), if any.
  std::optional<int> wedgeAt(QPointF desktopPoint) const;

  // Calls onAction with wedge `index` and `files`, when the index names a
  // wedge, there is at least one file and onAction is set; with no file,
  // onActionWithoutFiles with the wedge, when that is set.
  void execute(int index, const Files& files);

  // The local files a drag carries as text/uri-list, folders left out.
  static Files droppedFiles(const QMimeData* data);

  // One element per wedge, in wedge order, remade whenever the actions are.
  const std::vector<WheelAccessibilityElement*>& actionElements() const { return elements_; }

  std::function<void(const WheelAction& action, const Files& files)> onAction;
  std::function<void()> onToggle;
  std::function<void()> onDismiss;
  // A wedge chosen while the wheel has no files (none set: nothing happens).
  std::function<void(const WheelAction& action)> onActionWithoutFiles;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  // Tab switches wheels rather than moving the focus.
  bool focusNextPrevChild(bool next) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dragLeaveEvent(QDragLeaveEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  WheelPoint wheelPoint(QPointF widgetPoint) const;
  void updateDrag(QDragMoveEvent* event);
  void rebuildElements();
  // Reads the size the pill may show, once for each change of the files.
  void filesChanged();

  WheelState state_;
  CenterPress centerPress_;
  std::vector<WheelAccessibilityElement*> elements_;
};

}  // namespace Whirlpane
