// SPDX-License-Identifier: GPL-3.0-or-later
#include "chrome/progress_bar.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

#include "chrome/accent.h"

namespace Whirlpane {

ProgressBar::ProgressBar(QWidget* parent) : QWidget(parent) {
  // A 60 Hz frame is 16.7 ms; timers count whole milliseconds.
  timer_.setInterval(16);
  timer_.setTimerType(Qt::PreciseTimer);
  connect(&timer_, &QTimer::timeout, this, &ProgressBar::step);
}

void ProgressBar::setFraction(double fraction) {
  fraction_ = std::isnan(fraction) ? 0 : std::clamp(fraction, 0.0, 1.0);
  shown_ = std::max(shown_, minimumShown);
  target_ = std::max(fraction_, minimumShown);
  timer_.start();
}

void ProgressBar::step() {
  shown_ += (target_ - shown_) * 0.25;
  if (std::abs(shown_ - target_) < 0.002) {
    shown_ = target_;
    timer_.stop();
  }
  QWidget::update();
}

void ProgressBar::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(Qt::NoPen);
  const QRectF bounds = QRectF(rect());
  const qreal r = bounds.height() / 2;
  painter.setBrush(QColor::fromRgbF(0, 0, 0, 0.09f));
  painter.drawRoundedRect(bounds, r, r);
  // Even the least progress draws a full dot of the bar's height.
  const QRectF fill(0, 0, std::max(bounds.height(), bounds.width() * shown_), bounds.height());
  painter.setBrush(whirlAccent());
  painter.drawRoundedRect(fill, r, r);
}

}  // namespace Whirlpane
