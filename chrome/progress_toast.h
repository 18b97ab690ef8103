// SPDX-License-Identifier: GPL-3.0-or-later
// The small floating window that shows how far a batch conversion has got and
// lets the user cancel it: a title, "N of M saved", a progress bar and a close
// button on a rounded backdrop. It floats above other windows and never takes
// keyboard focus. The tray application makes one per batch, updates it as files are
// saved and finishes it; it stays up long enough to be read.
//
// Thread safety: main thread only.
#pragma once

#include <QLabel>
#include <QObject>
#include <QPointF>
#include <QPropertyAnimation>
#include <QRect>
#include <QTimer>
#include <functional>
#include <memory>

namespace Whirlpane {

class Backdrop;
class CloseCircleButton;
class GrowAnimation;
class ProgressBar;

class ProgressToast : public QObject {
  Q_OBJECT

 public:
  static constexpr int width = 312;
  static constexpr int height = 93;
  static constexpr double minimumOnScreen = 0.55;     // seconds shown, at the least
  static constexpr double minimumAfterFinish = 0.25;  // seconds left after finish()
  static constexpr double shownAfterCancel = 1.5;     // seconds "Cancelled — …" stays

  // Seconds on a clock that never goes back.
  using Clock = std::function<double()>;
  static Clock steadyClock();

  // Lays the toast out, hidden, centred on `point` (global coordinates) and
  // kept 8 inside the available area of the screen under it, and shows
  // "0 of `total` saved".
  ProgressToast(const QString& title, int total, QPointF point, Clock clock = steadyClock());
  ~ProgressToast() override;
  ProgressToast(const ProgressToast&) = delete;
  ProgressToast& operator=(const ProgressToast&) = delete;

  // "`saved` of `total` saved" ("Cancelled — `saved` of `total` saved" once
  // cancelled), and the bar eases toward saved ÷ total.
  void update(int saved, int total);

  // Brings the toast up without activating it: it grows from 0.35 of its size
  // and fades in (the fade only where a compositor can show it).
  void show();

  // Dismisses the toast once it has been up 0.55 s since show(), and no sooner
  // than 0.25 s from now; after a cancel, when the cancel's notice has been read.
  void finish();

  // Fades the toast out (at once without a compositor) and hides it. The
  // object stays; its owner drops it.
  void dismiss();

  // Called when the user presses the close button. The toast then says
  // "Cancelled — N of M saved" for 1.5 s, counting files saved meanwhile,
  // and is dismissed.
  std::function<void()> onCancel;

  QWidget* panel() const { return panel_.get(); }
  QLabel* title() const { return title_; }
  QLabel* detail() const { return detail_; }
  ProgressBar* bar() const { return bar_; }
  CloseCircleButton* cancelButton() const { return cancel_; }
  double shownAt() const { return shownAt_; }
  // The pending dismissal that finish() schedules.
  QTimer& dismissTimer() { return dismissTimer_; }

  // The window origin for a toast centred on `point` within `available`: 8
  // inside each edge, the left and top margins winning when the area is too
  // small, so that the title and the close button stay reachable. An empty
  // area (no screen at all) gives (8, 8).
  static QPoint origin(QPointF point, const QRect& available);

  // The available area of the screen containing `point`, else of the primary
  // screen, else an empty rectangle.
  static QRect availableAreaAt(QPointF point);

 private:
  Clock clock_;
  bool composited_;
  bool fades_;  // the window's opacity shows
  std::unique_ptr<QWidget> panel_;
  QWidget* content_ = nullptr;
  Backdrop* backdrop_ = nullptr;
  CloseCircleButton* cancel_ = nullptr;
  QLabel* title_ = nullptr;
  QLabel* detail_ = nullptr;
  ProgressBar* bar_ = nullptr;
  GrowAnimation* grow_ = nullptr;
  QPropertyAnimation* fade_ = nullptr;
  QTimer dismissTimer_;
  double shownAt_ = 0;
  int saved_ = 0;
  int total_ = 0;
  bool cancelled_ = false;
};

}  // namespace Whirlpane
