// SPDX-License-Identifier: GPL-3.0-or-later
#include "editors/controls/ratio_control.h"

#include <QFontMetricsF>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

#include "chrome/accent.h"
#include "chrome/accessible_parts.h"
#include "editors/common/editor_geometry.h"
#include "editors/common/editor_text.h"

namespace Whirlpane {

namespace {

class SegmentAccessible : public AccessiblePart {
 public:
  explicit SegmentAccessible(RatioSegment* segment) : AccessiblePart(segment), segment_(segment) {}

 protected:
  QWidget* owner() const override { return segment_ ? segment_->control() : nullptr; }
  QString label() const override { return segment_->control()->labels().value(segment_->index()); }
  QRect frameInOwner() const override {
    return segment_->control()->segmentRect(segment_->index()).toAlignedRect();
  }
  std::optional<bool> checked() const override {
    return segment_->control()->selectedSegment() == segment_->index();
  }
  void press() override { segment_->control()->choose(segment_->index()); }

 private:
  QPointer<RatioSegment> segment_;
};

class RatioControlAccessible : public AccessibleParts {
 public:
  explicit RatioControlAccessible(RatioControl* control)
      : AccessibleParts(control, QAccessible::Grouping) {}

  QAccessibleInterface* childAt(int x, int y) const override {
    const QPoint local = control()->mapFromGlobal(QPoint(x, y));
    if (!control()->rect().contains(local)) return nullptr;
    for (int i = 0; i < childCount(); ++i) {
      if (control()->segmentRect(i).contains(local)) return child(i);
    }
    return nullptr;
  }

 protected:
  std::vector<QObject*> parts() const override {
    const auto& segments = control()->segments();
    return {segments.begin(), segments.end()};
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
