// SPDX-License-Identifier: GPL-3.0-or-later
#include "editors/controls/slider_row.h"

#include <QAccessibleWidget>
#include <QFontMetricsF>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

#include "chrome/accent.h"
#include "editors/common/editor_geometry.h"

namespace Whirlpane {
namespace {

class SliderAccessible : public QAccessibleWidget, public QAccessibleValueInterface {
 public:
  explicit SliderAccessible(Slider* slider) : QAccessibleWidget(slider, QAccessible::Slider) {}

  void* interface_cast(QAccessible::InterfaceType type) override {
    if (type == QAccessible::ValueInterface) return static_cast<QAccessibleValueInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
  }
  QVariant currentValue() const override { return slider()->value(); }
  void setCurrentValue(const QVariant& value) override { slider()->moveTo(value.toDouble()); }
  QVariant maximumValue() const override { return slider()->maximum(); }
  QVariant minimumValue() const override { return slider()->minimum(); }
  QVariant minimumStepSize() const override {
    return (slider()->maximum() - slider()->minimum()) / 100;
  }

 private:
  Slider* slider() const { return static_cast<Slider*>(widget()); }
};

// Slider has no meta-object of its own, so it is asked for as a QWidget.
QAccessibleInterface* sliderAccessible(const QString& className, QObject* object) {
  if (className != QLatin1String("QWidget")) return nullptr;
  auto* slider = dynamic_cast<Slider*>(object);
  return slider ? new SliderAccessible(slider) : nullptr;
}

}  // namespace

Slider::Slider(double minimum, double maximum, double value, QWidget* parent)
    : QWidget(parent),
      minimum_(minimum),
      maximum_(std::max(minimum, maximum)),
      value_(std::clamp(value, minimum_, maximum_)) {
  static const bool installed = [] {
    QAccessible::installFactory(&sliderAccessible);
    return true;
  }();
  (void)installed;
  setFocusPolicy(Qt::StrongFocus);
}

// The knob stops short of the ends by the room its focus ring needs.
QRectF Slider::bar() const { return QRectF(rect()).adjusted(3, 0, -3, 0); }

void Slider::setValue(double value) {
  const double clamped = std::clamp(value, minimum_, maximum_);
  if (clamped == value_) return;
  value_ = clamped;
  update();
  if (QAccessible::isActive()) {
    QAccessibleValueChangeEvent event(this, value_);
    QAccessible::updateAccessibility(&event);
  }
}

void Slider::moveTo(double value) {
  const double before = value_;
  setValue(value);
  if (value_ != before && onChange) onChange(value_);
}

void Slider::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  const QRectF b = bar();
  const QRectF knob = sliderKnobRect(b, value_, minimum_, maximum_);
  const QRectF track(b.left(), b.center().y() - 1.5, b.width(), 3);
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor::fromRgbF(1, 1, 1, 0.62f));
  painter.drawRoundedRect(track, 1.5, 1.5);
  painter.setBrush(whirlAccent());
  painter.drawRoundedRect(
      QRectF(track.left(), track.top(), std::max(knob.center().x() - track.left(), 0.0), 3), 1.5,
      1.5);

  // The knob's soft shadow: a few widening, fading capsules half a point
  // below it stand in for a blur of radius 2.
  const QRectF capsule = knob.adjusted(0.5, 0.5, -0.5, -0.5);
  const qreal radius = capsule.height() / 2;
  for (int step = 2; step >= 1; --step) {
    const QRectF spread =
        capsule.translated(0, 0.5).adjusted(-step * 0.5, -step * 0.5, step * 0.5, step * 0.5);
    painter.setBrush(QColor::fromRgbF(0, 0, 0, 0.22f / (step + 1)));
    painter.drawRoundedRect(spread, spread.height() / 2, spread.height() / 2);
  }
  if (hasFocus()) {
    drawFocusRing(painter, knob.adjusted(-3, -3, 3, 3), radius + 3);
  }
  painter.setBrush(QColor::fromRgbF(0.985f, 0.985f, 0.985f));
  painter.drawRoundedRect(capsule, radius, radius);
  painter.setPen(QPen(QColor::fromRgbF(0, 0, 0, 0.08f), 0.5));
  painter.setBrush(Qt::NoBrush);
  painter.drawRoundedRect(capsule, radius, radius);
}

void Slider::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  moveTo(sliderValueAt(bar(), event->position().x(), minimum_, maximum_));
}

void Slider::mouseMoveEvent(QMouseEvent* event) {
  if (!(event->buttons() & Qt::LeftButton)) return;
  moveTo(sliderValueAt(bar(), event->position().x(), minimum_, maximum_));
}

void Slider::keyPressEvent(QKeyEvent* event) {
  const double step = (maximum_ - minimum_) / 100;
  switch (event->key()) {
    case Qt::Key_Home:
      moveTo(minimum_);
      break;
    case Qt::Key_End:
      moveTo(maximum_);
      break;
    case Qt::Key_PageUp:
      moveTo(value_ + step * 10);
      break;
    case Qt::Key_PageDown:
      moveTo(value_ - step * 10);
      break;
    case Qt::Key_Left:
    case Qt::Key_Down:
      moveTo(value_ - step);
      break;
    case Qt::Key_Right:
    case Qt::Key_Up:
      moveTo(value_ + step);
      break;
    default:
      QWidget::keyPressEvent(event);
  }
}

SliderRow::SliderRow(const QString& title, qreal centerY, qreal x, qreal width, double minimum,
                     double maximum, double value, const QString& id, QWidget* parent,
                     Formatter formatter)
    : QWidget(parent), formatter_(formatter ? std::move(formatter) : pixelValueText) {
  setGeometry(QRectF(x, centerY - 13, width, 26).toAlignedRect());
  title_ = new EditorLabel(QRectF(0, 5.5, 70, 15), editorFont(10.5), hintColor(), this);
  title_->setText(title);
  slider_ = new Slider(minimum, maximum, value, this);
  slider_->setObjectName(id);
  slider_->setAccessibleName(title);
  slider_->onChange = [this](double v) { changed(v); };
  valueLabel_ = new EditorLabel(QRectF(width - 56, 5.5, 56, 15), editorFont(10.5), hintColor(),
                                this, Qt::AlignRight | Qt::AlignVCenter);
  valueLabel_->setText(formatter_(slider_->value()));
  setTitleWidth(titleWidth());
}

qreal SliderRow::titleWidth() const {
  return std::max<qreal>(
      70, std::ceil(QFontMetricsF(title_->font()).horizontalAdvance(title_->text())));
}

void SliderRow::setTitleWidth(qreal titleWidth) {
  const qreal w = std::max(titleWidth, this->titleWidth());
  title_->setGeometry(QRectF(0, 5.5, w, 15).toAlignedRect());
  // English: the slider from 72 to 58 before the row's end, the value after it.
  slider_->setGeometry(QRectF(w + 2, 3, width() - w - 60, 20).toAlignedRect());
}

void alignTitles(const std::vector<SliderRow*>& rows) {
  qreal widest = 0;
  for (const SliderRow* row : rows) widest = std::max(widest, row->titleWidth());
  for (SliderRow* row : rows) row->setTitleWidth(widest);
}

void SliderRow::setValue(double value) {
  slider_->setValue(value);
  valueLabel_->setText(formatter_(slider_->value()));
}

void SliderRow::changed(double value) {
  valueLabel_->setText(formatter_(value));
  if (handler) handler(value);
}

}  // namespace Whirlpane
