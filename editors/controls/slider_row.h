// SPDX-License-Identifier: GPL-3.0-or-later
// A labelled slider: its title on the left, a slider with the editors' own
// track and knob in the middle, and the live value text on the right.
//
// Thread safety: main thread only.
#pragma once

#include <QWidget>
#include <functional>
#include <vector>

#include "editors/common/editor_text.h"

namespace Whirlpane {

// A horizontal slider over real values, drawn as a thin track filled in the
// accent colour up to a white capsule knob. Dragging anywhere on it moves the
// knob there; the arrow keys step by a hundredth of the range, Page Up and
// Page Down by a tenth, Home and End go to its ends. Assistive
// tools see a slider with its range and value, and may set the value as the
// user would.
class Slider : public QWidget {
  Q_OBJECT

 public:
  Slider(double minimum, double maximum, double value, QWidget* parent);

  double minimum() const { return minimum_; }
  double maximum() const { return maximum_; }
  double value() const { return value_; }
  // Clamps to the range and redraws; onChange is not called.
  void setValue(double value);
  // What the user's own movements call: setValue(), then onChange when the
  // value moved.
  void moveTo(double value);
  // Called with the new value on every movement the user makes.
  std::function<void(double)> onChange;

  // The bar the knob travels along, in the slider's coordinates.
  QRectF bar() const;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  double minimum_;
  double maximum_;
  double value_;
};

class SliderRow : public QWidget {
  Q_OBJECT

 public:
  using Formatter = std::function<QString(double)>;

  // A row 26 high centred on `centerY` in `parent`; `id` is the slider's
  // object name. The value text is formatter(value); the default formatter
  // writes whole pixels ("24 px").
  SliderRow(const QString& title, qreal centerY, qreal x, qreal width, double minimum,
            double maximum, double value, const QString& id, QWidget* parent,
            Formatter formatter = {});

  Slider* slider() const { return slider_; }
  EditorLabel* valueLabel() const { return valueLabel_; }
  double value() const { return slider_->value(); }
  // Sets the slider from code and updates the value text; the handler is not
  // called.
  void setValue(double value);

  // Called with each new value the user sets.
  std::function<void(double)> handler;

  // The title's width: 70, or what a longer title needs.
  qreal titleWidth() const;
  // Gives the title `width` (never less than it needs), the slider what is
  // left of the row.
  void setTitleWidth(qreal width);

 private:
  void changed(double value);

  EditorLabel* title_;
  Slider* slider_;
  EditorLabel* valueLabel_;
  Formatter formatter_;
};

// Gives the rows of one editor the same title width, the widest any needs,
// so that their sliders start and end together.
void alignTitles(const std::vector<SliderRow*>& rows);

}  // namespace Whirlpane
