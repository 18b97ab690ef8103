// SPDX-License-Identifier: GPL-3.0-or-later
#include "chrome/grow_animation.h"

#include <QPainter>
#include <QWidget>

namespace Whirlpane {

void ScaleEffect::setScale(qreal scale) {
  if (scale == scale_) return;
  scale_ = scale;
  update();
}

void ScaleEffect::draw(QPainter* painter) {
  if (scale_ == 1) {
    drawSource(painter);
    return;
  }
  QPoint offset;
  const QPixmap pixmap = sourcePixmap(Qt::LogicalCoordinates, &offset, QGraphicsEffect::NoPad);
  const QPointF center = sourceBoundingRect(Qt::LogicalCoordinates).center();
  painter->save();
  painter->setRenderHint(QPainter::SmoothPixmapTransform);
  painter->translate(center);
  painter->scale(scale_, scale_);
  painter->translate(-center);
  painter->drawPixmap(offset, pixmap);
  painter->restore();
}

GrowAnimation::GrowAnimation(QWidget* content)
    : QObject(content), content_(content), animation_(this) {
  animation_.setEndValue(1.0);
  connect(&animation_, &QVariantAnimation::valueChanged, this,
          [this](const QVariant& value) { apply(value.toReal()); });
}

void GrowAnimation::play(qreal from, int milliseconds, const QEasingCurve& curve) {
  animation_.stop();
  animation_.setStartValue(from);
  animation_.setDuration(milliseconds);
  animation_.setEasingCurve(curve);
  apply(from);
  animation_.start();
}

void GrowAnimation::stop() {
  if (!isRunning()) return;
  animation_.stop();
  apply(1);
}

bool GrowAnimation::isRunning() const { return animation_.state() == QAbstractAnimation::Running; }

qreal GrowAnimation::scale() const { return effect_ ? effect_->scale() : 1; }

void GrowAnimation::apply(qreal scale) {
  if (!content_) return;
  if (scale == 1) {
    // At full size the content paints itself directly again.
    if (effect_) content_->setGraphicsEffect(nullptr);
  } else {
    if (!effect_) {
      effect_ = new ScaleEffect;
      content_->setGraphicsEffect(effect_);
    }
    effect_->setScale(scale);
  }
  if (onFrame) onFrame(scale);
}

}  // namespace Whirlpane
