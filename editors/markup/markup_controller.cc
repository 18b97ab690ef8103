// SPDX-License-Identifier: GPL-3.0-or-later
#include "editors/markup/markup_controller.h"

#include <QColorDialog>
#include <QPainter>

#include "chrome/accent.h"
#include "editors/common/editor_text.h"
#include "editors/controls/action_button.h"
#include "editors/controls/color_well.h"
#include "editors/controls/ratio_control.h"
#include "editors/controls/slider_row.h"
#include "whirlpane/picture_file.h"

namespace Whirlpane {

QImage loadMarkupImage(const std::filesystem::path& file) {
  MediaEngine::Picture picture = MediaEngine::loadPicture(file);
  const QImage view(picture.rgba.data(), picture.width, picture.height, picture.width * 4,
                    QImage::Format_RGBA8888);
  return view.copy();  // the view borrows the picture's bytes
}

namespace {

constexpr Tool annotateTools[] = {Tool::pen, Tool::rectangle, Tool::arrow, Tool::text};

}  // namespace

MarkupController::MarkupController(const std::filesystem::path& file, const QImage& image,
                                   bool redaction)
    : EditorFrame(file, redaction ? "Redact Image" : "Annotate Image",
                  redaction ? "Save Redacted" : "Save", redaction ? "redact" : "annotate"),
      redaction_(redaction) {
  const QString word = identifierWord();
  canvas_ = new AnnotationCanvas(image, surface());
  canvas_->setGeometry(16, 53, 388, 367);
  if (redaction_) {
    canvas_->setTool(Tool::redact);
    auto* hint = new EditorLabel(QRectF(24, 435, 372, 36), editorFont(11), labelColor(0.58),
                                 surface(), Qt::AlignLeft | Qt::AlignTop, 2);
    hint->setText("Drag over sensitive areas to cover them with solid pixels.");
    auto* warning = new EditorLabel(QRectF(24, 479, 372, 20), editorFont(11, QFont::Medium),
                                    labelColor(1), surface());
    warning->setText("Exported redactions cannot be removed.");
  } else {
    AnnotationLayer& layer = canvas_->layer();
    layer.strokeWidth = 6;
    layer.inkColor = whirlAccent();
    layer.textValue = "Text";
    toolControl_ = new RatioControl({"Pen", "Rectangle", "Arrow", "Text"}, QRectF(30, 430, 360, 27),
                                    "editor.annotate.tool", surface(),
                                    [this](int index) { canvas_->setTool(annotateTools[index]); });
    stroke_ =
        new SliderRow("Stroke", 477.5, 18, 384, 1, 40, 6, "editor.annotate.stroke", surface());
    stroke_->handler = [this](double value) { canvas_->layer().strokeWidth = value; };
    color_ =
        new ColorWell(QRectF(24, 504, 35, 25), whirlAccent(), surface(), ColorWell::Look::bezel);
    color_->setObjectName("editor.annotate.color");
    color_->setAccessibleName("Ink colour");
    color_->onChange = [this](const QColor& color) { colorChanged(color); };
    textField_ = new QLineEdit("Text", surface());
    textField_->setGeometry(72, 504, 324, 25);
    textField_->setPlaceholderText("Text to place on the image");
    textField_->setFont(editorFont(11));
    textField_->setObjectName("editor.annotate.text");
    // Every keystroke, not only Return, so the next label is what is typed.
    QObject::connect(textField_, &QLineEdit::textChanged, this,
                     [this](const QString& text) { textChanged(text); });
  }
  auto* undo = new ActionButton(QRectF(24, 546, 63, 23), surface());
  undo->setText("Undo");
  undo->setFont(editorFont(11));
  undo->setObjectName("editor." + word + ".undo");
  undo->handler = [this] { canvas_->undo(); };
}

void MarkupController::colorChanged(const QColor& color) { canvas_->layer().inkColor = color; }

void MarkupController::textChanged(const QString& text) { canvas_->layer().textValue = text; }

void MarkupController::resetEditor() { canvas_->clear(); }

void MarkupController::saveEditor() {
  saveImage(canvas_->renderedImage(), redaction_ ? " Redacted" : " Annotated", "png");
}

}  // namespace Whirlpane
