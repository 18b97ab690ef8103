// SPDX-License-Identifier: GPL-3.0-or-later
#include "editors/controls/ratio_control.h"

#include <QAccessibleWidget>
#include <QFontMetricsF>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

#include "chrome/accent.h"
#include "editors/common/editor_geometry.h"
#include "editors/common/editor_text.h"

namespace Whirlpane {

namespace {

class SegmentAccessible : public QAccessibleInterface, public QAccessibleActionInterface {
 public:
  explicit SegmentAccessible(RatioSegment* segment) : segment_(segment) {}

  bool isValid() const override { return segment_ && segment_->control(); }
  QObject* object() const override { return segment_; }
  QWindow* window() const override {
    return isValid() ? segment_->control()->window()->windowHandle() : nullptr;
  }
  QAccessibleInterface* parent() const override {
    return isValid() ? QAccessible::queryAccessibleInterface(segment_->control()) : nullptr;
  }
  QAccessibleInterface* child(int) const override { return nullptr; }
  int childCount() const override { return 0; }
  int indexOfChild(const QAccessibleInterface*) const override { return -1; }
  QAccessibleInterface* childAt(int, int) const override { return nullptr; }
  QString text(QAccessible::Text t) const override {
    if (t != QAccessible::Name || !isValid()) return {};
    return segment_->control()->labels().value(segment_->index());
  }
  void setText(QAccessible::Text, const QString&) override {}
  QRect rect() const override {
    if (!isValid()) return {};
    const RatioControl* control = segment_->control();
    const QRect local = control->segmentRect(segment_->index()).toAlignedRect();
    return QRect(control->mapToGlobal(local.topLeft()), local.size());
  }
  QAccessible::Role role() const override { return QAccessible::Button; }
  QAccessible::State state() const override {
    QAccessible::State state;
    state.invisible = !isValid() || !segment_->control()->isVisible();
    state.checkable = true;
    state.checked = isValid() && segment_->control()->selectedSegment() == segment_->index();
    return state;
  }
  void* interface_cast(QAccessible::InterfaceType type) override {
    return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this)
                                                : nullptr;
  }
  QStringList actionNames() const override { return {pressAction()}; }
  void doAction(const QString& name) override {
    if (name == pressAction() && isValid()) segment_->control()->choose(segment_->index());
  }
  QStringList keyBindingsForAction(const QString&) const override { return {}; }

 private:
  QPointer<RatioSegment> segment_;
};

class RatioControlAccessible : public QAccessibleWidget {
 public:
  explicit RatioControlAccessible(RatioControl* control)
      : QAccessibleWidget(control, QAccessible::Grouping) {}

  int childCount() const override { return static_cast<int>(control()->segments().size()); }
  QAccessibleInterface* child(int index) const override {
    if (index < 0 || index >= childCount()) return nullptr;
    return QAccessible::queryAccessibleInterface(control()->segments()[index]);
  }
  int indexOfChild(const QAccessibleInterface* child) const override {
    const auto& list = control()->segments();
    const auto found = std::find(list.begin(), list.end(), child ? child->object() : nullptr);
    return found == list.end() ? -1 : static_cast<int>(found - list.begin());
  }
  QAccessibleInterface* childAt(int x, int y) const override {
    const QPoint local = control()->mapFromGlobal(QPoint(x, y));
    if (!control()->rect().contains(local)) return nullptr;
    for (int i = 0; i < childCount(); ++i) {
      if (control()->segmentRect(i).contains(local)) return child(i);
    }
    return nullptr;
  }

 private:
  RatioControl* control() const { return static_cast<RatioControl*>(widget()); }
};

QAccessibleInterface* ratioAccessible(const QString& className, QObject* object) {
  if (className == QLatin1String("Whirlpane::RatioControl")) {
    if (auto* control = qobject_cast<RatioControl*>(object))
      return new RatioControlAccessible(control);
  }
  if (className == QLatin1String("Whirlpane::RatioSegment")) {
    if (auto* segment = qobject_cast<RatioSegment*>(object)) return new SegmentAccessible(segment);
  }
  return nullptr;
}

}  // namespace

RatioSegment::RatioSegment(RatioControl* control, int index) : QObject(control), index_(index) {}

RatioControl* RatioSegment::control() const { return static_cast<RatioControl*>(parent()); }

RatioControl::RatioControl(const QStringList& labels, const QRectF& frame, const QString& id,
                           QWidget* parent, std::function<void(int)> onSelect)
    : QWidget(parent), handler(std::move(onSelect)), labels_(labels) {
  static const bool installed = [] {
    QAccessible::installFactory(&ratioAccessible);
    return true;
  }();
  (void)installed;
  setGeometry(frame.toAlignedRect());
  setObjectName(id);
  for (int i = 0; i < labels.size(); ++i) segments_.push_back(new RatioSegment(this, i));
  setFont(editorFont(11));
  setFocusPolicy(Qt::StrongFocus);
  layoutSegments();
}

namespace {

// The wider of a segment's two weights, and the room kept beside its label.
QFont widestLabelFont() { return editorFont(11, QFont::Medium); }
constexpr qreal labelMargin = 8;

}  // namespace

void RatioControl::layoutSegments() {
  const QFontMetricsF metrics(widestLabelFont());
  std::vector<qreal> needs;
  for (const QString& label : labels_)
    needs.push_back(metrics.horizontalAdvance(label) + labelMargin);
  edges_ = ratioSegmentEdges(needs, width());
}

void RatioControl::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  layoutSegments();
}

QRectF RatioControl::segmentRect(int index) const {
  return QRectF(edges_[index], 0, edges_[index + 1] - edges_[index], height());
}

bool RatioControl::labelsFit() const {
  const QFontMetricsF metrics(widestLabelFont());
  for (int i = 0; i < segmentCount(); ++i) {
    if (metrics.horizontalAdvance(labels_[i]) > segmentRect(i).width()) return false;
  }
  return true;
}

void RatioControl::setSelectedSegment(int index) {
  const int before = selected_;
  selected_ = std::clamp(index, 0, std::max(segmentCount() - 1, 0));
  update();
  if (QAccessible::isActive() && before != selected_) {
    QAccessible::State checked;
    checked.checked = true;
    for (int changed : {before, selected_}) {
      if (changed >= segmentCount()) continue;
      QAccessibleStateChangeEvent event(segments_[changed], checked);
      QAccessible::updateAccessibility(&event);
    }
  }
}

void RatioControl::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor::fromRgbF(0, 0, 0, 0.065f));
  painter.drawRoundedRect(QRectF(rect()), 5, 5);
  if (hasFocus()) drawFocusRing(painter, QRectF(rect()), 6);
  for (int i = 0; i < segmentCount(); ++i) {
    const QRectF segment = segmentRect(i);
    const bool selected = i == selected_;
    if (selected) {
      painter.setPen(Qt::NoPen);
      painter.setBrush(whirlAccent());
      // Inside the focus ring, with a white gap, where the control has the focus.
      const qreal inset = hasFocus() ? focusRingInset : 0;
      painter.drawRoundedRect(segment.adjusted(inset, inset, -inset, -inset), 4, 4);
    } else if (i > 0 && i - 1 != selected_) {
      painter.fillRect(QRectF(segment.left() - 0.5, height() / 2.0 - 5, 1, 10),
                       QColor::fromRgbF(0, 0, 0, 0.18f));
    }
    painter.setFont(editorFont(11, selected ? QFont::Medium : QFont::Normal));
    painter.setPen(selected ? QColor(Qt::white) : labelColor(0.72));
    painter.drawText(segment, Qt::AlignCenter, labels_[i]);
  }
}

void RatioControl::choose(int index) {
  if (segmentCount() == 0) return;
  index = std::clamp(index, 0, segmentCount() - 1);
  if (index == selected_) return;
  setSelectedSegment(index);
  if (handler) handler(index);
}

void RatioControl::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || segmentCount() == 0) return;
  choose(ratioSegmentAt(event->position().x(), edges_));
}

void RatioControl::keyPressEvent(QKeyEvent* event) {
  const bool rightToLeft = layoutDirection() == Qt::RightToLeft;
  switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Up:
      choose(selected_ + (rightToLeft && event->key() == Qt::Key_Left ? 1 : -1));
      break;
    case Qt::Key_Right:
    case Qt::Key_Down:
      choose(selected_ + (rightToLeft && event->key() == Qt::Key_Right ? -1 : 1));
      break;
    case Qt::Key_Home:
      choose(0);
      break;
    case Qt::Key_End:
      choose(segmentCount() - 1);
      break;
    default:
      QWidget::keyPressEvent(event);
  }
}

}  // namespace Whirlpane
