// SPDX-License-Identifier: GPL-3.0-or-later
// A segmented picker of equal segments (aspect ratios, tools, modes): a faint
// rounded track with the selected segment filled in the accent colour and
// thin dividers between unselected neighbours.
//
// Thread safety: main thread only.
#pragma once

#include <QStringList>
#include <QWidget>
#include <functional>

namespace Whirlpane {

class RatioControl : public QWidget {
  Q_OBJECT

 public:
  // One segment per label, segment 0 selected; `id` becomes the object name.
  RatioControl(const QStringList& labels, const QRectF& frame, const QString& id, QWidget* parent,
               std::function<void(int)> handler = {});

  // Called with the new index when a click selects another segment; never
  // when the selection is set from code.
  std::function<void(int)> handler;

  int selectedSegment() const { return selected_; }
  void setSelectedSegment(int index);
  int segmentCount() const { return static_cast<int>(labels_.size()); }
  const QStringList& labels() const { return labels_; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  QStringList labels_;
  int selected_ = 0;
};

}  // namespace Whirlpane
