// SPDX-License-Identifier: GPL-3.0-or-later
// The wheel on screen: owns the WheelPanel with its RadialMenu and brings the
// wheel up at a point, switches it between the formats and the tools wheel,
// and hides it. The application holds one, sets `onAction` to run what the
// user chose, tells it when a batch keeps it `busy`, and keeps `currentFiles` up to date; the
// wheel's own requests to switch (centre click, right click, Tab, Space) and to close (Escape) are
// handled here.
//
// A showing is either for a drag (the wheel is a drop target under a held
// drag: it never takes the focus from the drag source and stays up when the
// application loses the focus) or normal (the wheel takes the keyboard focus;
// when the application loses it, the wheel waits for a drag begun in the
// window that took it, as WheelWait decides, and then hides).
//
// Thread safety: main thread only.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QParallelAnimationGroup>
#include <QPointF>
#include <QTimer>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "wheel/wheel_action.h"
#include "wheel/wheel_wait.h"

namespace Whirlpane {

class RadialMenu;
class WheelPanel;

class WheelController : public QObject {
  Q_OBJECT

 public:
  using Files = std::vector<std::filesystem::path>;

  // The wheel grows from this scale to its full size along a spring (damping
  // 22, stiffness 380, mass 1) that lasts its settling duration (see
  // spring.h): 573 ms. The window fades in over the first 100 ms, the
  // captions over the 100 ms after a 60 ms wait.
  static constexpr double growFrom = 0.55;
  static int growMilliseconds();
  static constexpr int fadeMilliseconds = 100;
  static constexpr int captionDelayMilliseconds = 60;

  // `composited`: whether the desktop shows translucent windows (see
  // WheelPanel); `tools`: the tools wheel's wedges, in order.
  WheelController(bool composited, std::vector<WheelAction> tools);
  ~WheelController() override;
  WheelController(const WheelController&) = delete;
  WheelController& operator=(const WheelController&) = delete;

  // Shows the wheel centred on `at` (desktop coordinates) on the screen that
  // holds it, else on the primary screen, never more than its 14-point
  // transparent margin off that screen. Offers the tools, or the formats for
  // the first of `files` (`currentFiles` when none are given). Does nothing
  // while `busy`. A showing for a drag then moves the pointer by one pixel
  // and back once the window is on the screen, since drag sources only look
  // for the window under the pointer when it moves. Showing again while shown starts over at the
  // new point.
  void showWheel(QPointF at, bool tools, bool dragging, std::optional<Files> files = {});

  // Hides the wheel and resets its fades; keeps its files and its mode.
  void hideWheel();

  // Switches between the tools (true) and the formats wheel; nothing when the
  // wheel already shows that one. During a drag the wedge under the pointer
  // lights up at once.
  void setToolMode(bool tools);

  // Starts the wheel's appearance: the grow, the window's fade (where a
  // compositor can show it) and the captions' later fade.
  void animateWheelIn();

  WheelPanel* panel() const { return panel_.get(); }
  RadialMenu* wheel() const;
  bool showingTools() const { return showingTools_; }
  bool dragSession() const { return dragSession_; }

  // Called with the chosen wedge and the files it applies to.
  std::function<void(const WheelAction& action, const Files& files)> onAction;

  // Set by the application: whether a conversion batch runs (no showing
  // meanwhile; none set means never); the files a showing without files of
  // its own acts on; the moment (in seconds of the drag watcher's clock)
  // after which a wheel left up by a finished drag goes, cleared by every
  // showing and hiding.
  std::function<bool()> busy;
  Files currentFiles;
  std::optional<double> hideAfterDrag;

  // Set by the application where the pointer can be read outside the
  // program's windows: whether the left button is down now (none when the
  // display has gone). Unset, a wheel that lost the focus waits
  // WheelWait::patience seconds for a drag.
  std::function<std::optional<bool>()> buttonDown;

 private:
  // Moves the pointer by one pixel and back once the window is on the screen
  // and its shape takes in the pointer (looking every 30 ms, `attempts` times
  // at most), so that a drag source sees the wedge that came up under it.
  void nudgePointer(int attempts = 50);

  // Follows a wheel that lost the focus until WheelWait lets it go.
  void startWaiting();
  void checkWaiting();
  WheelWait::Readings waitReadings() const;

  std::unique_ptr<WheelPanel> panel_;
  std::vector<WheelAction> tools_;
  QParallelAnimationGroup fades_;
  bool showingTools_ = false;
  bool dragSession_ = false;
  bool hidesOnDeactivate_ = false;
  bool focusedSinceShown_ = false;
  bool fadesWindow_;
  WheelWait wait_;
  QTimer waitTimer_;
  QElapsedTimer clock_;
};

}  // namespace Whirlpane
