// SPDX-License-Identifier: GPL-3.0-or-later
// A thin rounded progress bar that eases toward its target sixty times a
// second rather than jumping, and never draws emptier than 6 %.
#pragma once

#include <QTimer>
#include <QWidget>

namespace Whirlpane {

class ProgressBar : public QWidget {
  Q_OBJECT

 public:
  static constexpr double minimumShown = 0.06;  // the least progress ever drawn

  explicit ProgressBar(QWidget* parent = nullptr);

  // The target progress, 0 to 1.
  double fraction() const { return fraction_; }
  // The progress drawn now.
  double shown() const { return shown_; }
  bool isAnimating() const { return timer_.isActive(); }

  // Sets the target (clamped to 0…1), raises what is drawn to the minimum, and
  // (re)starts easing toward the target.
  void setFraction(double fraction);

  // One frame of easing: a quarter of the remaining way, snapping to the
  // target (and stopping) once within 0.002 of it. The timer calls it.
  void step();

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  double fraction_ = 0;
  double shown_ = 0;
  double target_ = minimumShown;  // the target the running animation was started for
  QTimer timer_;
};

}  // namespace Whirlpane
