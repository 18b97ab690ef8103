// SPDX-License-Identifier: GPL-3.0-or-later
// The marks of the Annotate and Redact editors and everything about them
// that needs no window: where the image sits in a view, how view points map
// to image pixels, which marks are worth keeping, the arrow head, the
// pixel-snapped redaction box, undo and clear, and drawing the image with
// its marks into any painter.
//
// Marks live in image pixel coordinates with Qt's origin (the top-left
// corner, y down). A redaction always covers whole pixels and is drawn after
// every other mark, as opaque black written straight into the pixels, so no
// stroke, shape or label can show through it whatever order they were made
// in, and nothing of what lay beneath survives (alpha included).
//
// Thread safety: a value; one thread at a time. Drawing text uses the
// application font, so draw on the main thread.
#pragma once

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPointF>
#include <QPolygonF>
#include <QRectF>
#include <QString>
#include <optional>
#include <string_view>
#include <vector>

namespace Whirlpane {

// The kinds of mark, in their stored order.
enum class Tool { pen, rectangle, arrow, text, redact };

// "pen", "rectangle", "arrow", "text", "redact".
std::string_view toolName(Tool tool);

struct Annotation {
  Tool tool = Tool::pen;
  // The whole path of a pen stroke; the first and the current point of the
  // other kinds.
  std::vector<QPointF> points;
  QColor color;          // sRGB, taken when the mark was started
  double width = 4;      // stroke width in image pixels
  QString text;          // the label of a text mark
  double textSize = 18;  // the label's font size in image pixels
};

// An arrow's head: the filled triangle and the point where the shaft ends.
struct ArrowHead {
  QPointF base;
  QPolygonF triangle;  // tip, left corner, right corner
  double length = 0;
};

// The head of the arrow from `from` to `to` drawn `width` wide:
// min(max(12, 4 × width), 0.6 × length) long and 0.9 times as wide as long.
// None for an arrow of 0.01 pixels or less.
std::optional<ArrowHead> arrowHead(QPointF from, QPointF to, double width);

// The marks on one image, the mark being dragged, and the settings new marks
// take.
class AnnotationLayer {
 public:
  // Margin between the view's edge and the image, in view units.
  static constexpr qreal previewInset = 10;

  explicit AnnotationLayer(QSize imageSize);

  QSize imageSize() const { return imageSize_; }

  // Where the image sits in a view of `viewSize`: fitted inside the view
  // less previewInset on each side and centred; small images are enlarged.
  // Empty for a view 20 wide or high or less.
  QRectF imageRect(QSizeF viewSize) const;

  // The image pixel under `viewPoint`. Without clamping a point off the
  // image has none; with it, the point is pinned to the image's edge. None
  // when the view shows no image.
  std::optional<QPointF> sourcePoint(QPointF viewPoint, QSizeF viewSize, bool clampToImage) const;

  // The tool for new marks; changing it drops the mark being dragged.
  Tool tool() const { return tool_; }
  void setTool(Tool tool);
  QColor inkColor;
  // Width of new marks as seen, in view units; anything not finite counts as
  // 4. A mark keeps it in image pixels, scaled by the image-to-view ratio of
  // the view it is started in, so that it is saved as it looked; its label's
  // size, max(18, 5 × width) as seen, likewise.
  double strokeWidth = 4;
  QString textValue = "Text";

  const std::vector<Annotation>& annotations() const { return annotations_; }
  const std::optional<Annotation>& activeAnnotation() const { return active_; }
  int count() const { return static_cast<int>(annotations_.size()); }
  bool isEmpty() const { return annotations_.empty() && !active_; }

  // A press at `viewPoint`: ignored off the image; otherwise the mark being
  // dragged is dropped and a new one starts there, except with the text
  // tool, which places its label at once (nothing for blank text). True
  // when the finished marks changed.
  bool press(QPointF viewPoint, QSizeF viewSize);
  // The pointer moved to `viewPoint` while pressed; points off the image are
  // pinned to its edge. A pen stroke gains the point unless it repeats the
  // last one; other marks move their second point.
  void drag(QPointF viewPoint, QSizeF viewSize);
  // The press ended at `viewPoint`: the mark being dragged is kept if it is
  // drawable and dropped otherwise. True when the finished marks changed.
  bool release(QPointF viewPoint, QSizeF viewSize);

  // Drops the mark being dragged; true if there was one.
  bool cancelActive();
  // Drops the mark being dragged, or else the last finished mark. True when
  // the finished marks changed.
  bool undo();
  // Drops the mark being dragged and every finished mark. True when the
  // finished marks changed.
  bool clear();

  // Whether `mark` leaves anything to see: a pen or text mark with a point,
  // a rectangle or redaction of some width and height, an arrow longer than
  // 0.01 pixels.
  static bool isDrawable(const Annotation& mark);
  // The pixels a redaction covers: its rectangle grown outward to whole
  // pixels and clipped to the image. Empty for a mark of no area.
  QRect redactionRect(const Annotation& mark) const;
  // The dashed guide of the mark being dragged (a rectangle, or the pixels a
  // redaction will cover); empty when there is none to show.
  QRectF guideRect() const;

  // The finished marks and the drawable mark being dragged, in the order
  // they are drawn: every redaction after every other mark.
  std::vector<const Annotation*> drawingOrder() const;

  // Draws the marks in image pixel coordinates, clipped to the image.
  void drawAnnotations(QPainter& painter) const;
  // Draws one mark in image pixel coordinates.
  void draw(QPainter& painter, const Annotation& mark) const;

  // `image` (of imageSize()) with every mark burnt in; `image` itself when
  // there is nothing to burn in. Null when no image that large can be made.
  QImage renderedImage(const QImage& image) const;

 private:
  Annotation startMark(QPointF point, QSizeF viewSize) const;

  QSize imageSize_;
  Tool tool_ = Tool::pen;
  std::vector<Annotation> annotations_;
  std::optional<Annotation> active_;
};

}  // namespace Whirlpane
