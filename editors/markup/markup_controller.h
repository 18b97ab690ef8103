// SPDX-License-Identifier: GPL-3.0-or-later
// The Annotate and Redact editors: one window over the annotation canvas.
// Annotate draws pen strokes, rectangles, arrows and labels in a chosen ink
// and width; Redact only covers areas with solid black pixels. Either saves
// the picture with its marks burnt in as a new PNG beside the source, named
// with " Annotated" or " Redacted", written by the engine, which carries
// none of the source's metadata over: nothing under a redaction survives in
// the saved file.
//
// Thread safety: main thread only.
#pragma once

#include <QColor>
#include <QImage>
#include <QLineEdit>
#include <filesystem>
#include <functional>

#include "editors/common/editor_frame.h"
#include "editors/common/editor_image.h"
#include "editors/markup/annotation_canvas.h"

namespace Whirlpane {

class ActionButton;
class ColorWell;
class EditorLabel;
class RatioControl;
class SliderRow;

// `file` decoded by the engine with its colour channels as stored, not
// multiplied by alpha: every pixel the marks leave alone, half-transparent
// ones included, is saved exactly as it was read. Throws what the engine
// throws for a file it cannot decode.
QImage loadMarkupImage(const std::filesystem::path& file);

class MarkupController : public EditorFrame {
  Q_OBJECT

 public:
  // Annotate mode, or Redact mode when `redaction`.
  MarkupController(const std::filesystem::path& file, const QImage& image, bool redaction);
  // Shows `preview` until decodeFullPicture() brings the whole picture.
  MarkupController(const std::filesystem::path& file, const EditorPreview& preview, bool redaction);

  bool redaction() const { return redaction_; }
  AnnotationCanvas* canvas() const { return canvas_; }
  // The annotate controls; null in Redact mode.
  RatioControl* toolControl() const { return toolControl_; }
  SliderRow* stroke() const { return stroke_; }
  ColorWell* colorWell() const { return color_; }
  QLineEdit* textField() const { return textField_; }

  // The ink of marks started from now on.
  void colorChanged(const QColor& color);
  // The label of text marks placed from now on.
  void textChanged(const QString& text);

  void resetEditor() override;
  void saveEditor() override;

 protected:
  void pictureDecoded(const QImage& image) override;

 private:
  MarkupController(const std::filesystem::path& file, AnnotationCanvas* canvas, bool redaction);

  bool redaction_;
  AnnotationCanvas* canvas_;
  RatioControl* toolControl_ = nullptr;
  SliderRow* stroke_ = nullptr;
  ColorWell* color_ = nullptr;
  QLineEdit* textField_ = nullptr;
};

}  // namespace Whirlpane
