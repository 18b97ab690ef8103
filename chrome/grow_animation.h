// SPDX-License-Identifier: GPL-3.0-or-later
// A window's content growing into view: the content widget and its children
// are painted scaled about their centre, from a smaller size up to their own
// (passing it on the way when the curve overshoots, as a spring does; the
// window must leave room for that). X11 cannot scale a window; a painted scale
// works on every desktop, with or without a compositor.
#pragma once

#include <QEasingCurve>
#include <QGraphicsEffect>
#include <QPointer>
#include <QVariantAnimation>
#include <functional>

namespace Whirlpane {

// Paints its widget scaled by `scale` about the widget's centre.
class ScaleEffect : public QGraphicsEffect {
  Q_OBJECT

 public:
  explicit ScaleEffect(QObject* parent = nullptr) : QGraphicsEffect(parent) {}
  qreal scale() const { return scale_; }
  void setScale(qreal scale);

 protected:
  void draw(QPainter* painter) override;

 private:
  qreal scale_ = 1;
};

class GrowAnimation : public QObject {
  Q_OBJECT

 public:
  // Animates `content`; the animation belongs to it and goes away with it.
  explicit GrowAnimation(QWidget* content);

  // Grows from `from` to 1 over `milliseconds` along `curve`. Starting again
  // restarts from `from`.
  void play(qreal from, int milliseconds, const QEasingCurve& curve);
  // Ends a running animation at once, at full size.
  void stop();
  bool isRunning() const;
  // The scale painted now; 1 when not running.
  qreal scale() const;

  // Called with each new scale (above 1 while a curve overshoots), the last
  // call with 1.
  std::function<void(qreal)> onFrame;

 private:
  void apply(qreal scale);

  QPointer<QWidget> content_;
  QPointer<ScaleEffect> effect_;  // installed on the content while it is scaled
  QVariantAnimation animation_;
};

}  // namespace Whirlpane
