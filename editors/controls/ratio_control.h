// SPDX-License-Identifier: GPL-3.0-or-later
// A segmented picker (aspect ratios, tools, modes): a faint rounded track
// with the selected segment filled in the accent colour and thin dividers
// between unselected neighbours. The segments are equal unless a label needs
// more than an equal share (a longer word in another language); then that
// segment is as wide as its label and the others share the rest.
//
// Assistive tools see a group, named by its owner (setAccessibleName), whose
// children are the segments: one button each, named by its label, checked
// when selected, and pressed through the accessible press action as a click
// would.
//
// Thread safety: main thread only.
#pragma once

#include <QStringList>
#include <QWidget>
#include <functional>
#include <vector>

namespace Whirlpane {

class RatioControl;

// One segment of a RatioControl as assistive tools see it; owned by the control.
class RatioSegment : public QObject {
  Q_OBJECT

 public:
  RatioSegment(RatioControl* control, int index);
  RatioControl* control() const;
  int index() const { return index_; }

 private:
  int index_;
};

class RatioControl : public QWidget {
  Q_OBJECT

 public:
  // One segment per label, segment 0 selected; `id` becomes the object name.
  // The owner names the group for screen readers.
  RatioControl(const QStringList& labels, const QRectF& frame, const QString& id, QWidget* parent,
               std::function<void(int)> handler = {});

  // Called with the new index when a click or a key selects another segment;
  // never when the selection is set from code. The arrow keys move to the
  // neighbouring segment, Home and End to the first and last.
  std::function<void(int)> handler;

  int selectedSegment() const { return selected_; }
  void setSelectedSegment(int index);
  int segmentCount() const { return static_cast<int>(labels_.size()); }
  const QStringList& labels() const { return labels_; }
  const std::vector<RatioSegment*>& segments() const { return segments_; }
  // Selects segment `index` (clamped) as the user did, telling the handler.
  void choose(int index);
  // Segment `index`'s place in the control.
  QRectF segmentRect(int index) const;
  // Whether every label fits its segment, in the selected segment's weight.
  bool labelsFit() const;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void resizeEvent(QResizeEvent* event) override;
  // The segments' edges for the labels at the control's width.
  void layoutSegments();

  QStringList labels_;
  std::vector<RatioSegment*> segments_;
  std::vector<qreal> edges_;
  int selected_ = 0;
};

}  // namespace Whirlpane
