#include "editors/markup/markup_controller.h"

#include <QColorDialog>
#include <QPainter>

#include "app/chrome/accent.h"
#include "editors/common/editor_text.h"
#include "editors/controls/action_button.h"
#include "editors/controls/color_well.h"
#include "editors/controls/ratio_control.h"
#include "editors/controls/slider_row.h"
#include "whirlpane/picture_file.h"

namespace Whirlpane {

QImage loadMarkupImage(const std::filesystem::path& url) {
  MediaEngine::Picture picture = MediaEngine::loadPicture(url);
  const QImage view(picture.rgba.data(), picture.width, picture.height, picture.width * 4,
                    QImage::Format_RGBA8888);
  return view.copy();  // the view borrows the picture's bytes
}

namespace {

constexpr Tool annotateTools[] = {Tool::pen, Tool::rectangle, Tool::arrow, Tool::text};

}  // namespace

WPMarkupController::WPMarkupController(const std::filesystem::path& url, const QImage& image,
                                       bool redaction)
    : WPEditorController(url, redaction ? "Redact Image" : "Annotate Image",
                         redaction ? "Save Redacted" : "Save", redaction ? "redact" : "annotate"),
      redaction_(redaction) {
  const QString word = identifierWord();
  canvas_ = new WPAnnotationCanvas(image, surface());
  canvas_->setGeometry(16, 53, 388, 367);
  if (redaction_) {
    canvas_->setTool(Tool::redact);
    auto* hint = new WPLabel(QRectF(24, 435, 372, 36), editorFont(11), labelColour(0.58), surface(),
                             Qt::AlignLeft | Qt::AlignTop, 2);
    hint->setText("Drag over sensitive areas to cover them with solid pixels.");
    auto* warning = new WPLabel(QRectF(24, 479, 372, 20), editorFont(11, QFont::Medium),
                                labelColour(1), surface());
    warning->setText("Exported redactions cannot be removed.");
  } else {
    AnnotationLayer& layer = canvas_->layer();
    layer.strokeWidth = 6;
    layer.inkColor = whirlAccent();
    layer.textValue = "Text";
    toolControl_ = new WPRatioControl(
        {"Pen", "Rectangle", "Arrow", "Text"}, QRectF(30, 430, 360, 27), "editor.annotate.tool",
        surface(), [this](int index) { canvas_->setTool(annotateTools[index]); });
    stroke_ =
        new WPSliderRow("Stroke", 477.5, 18, 384, 1, 40, 6, "editor.annotate.stroke", surface());
    stroke_->handler = [this](double value) { canvas_->layer().strokeWidth = value; };
    color_ = new WPColorWell(QRectF(24, 504, 35, 25), whirlAccent(), surface(),
                             WPColorWell::Look::bezel);
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
  auto* undo = new WPActionButton(QRectF(24, 546, 63, 23), surface());
  undo->setText("Undo");
  undo->setFont(editorFont(11));
  undo->setObjectName("editor." + word + ".undo");
  undo->handler = [this] { canvas_->undo(); };
}

void WPMarkupController::colorChanged(const QColor& color) { canvas_->layer().inkColor = color; }

void WPMarkupController::textChanged(const QString& text) { canvas_->layer().textValue = text; }

void WPMarkupController::resetEditor() { canvas_->clear(); }

void WPMarkupController::saveEditor() {
  saveImage(canvas_->renderedImage(), redaction_ ? " Redacted" : " Annotated", "png");
}

}  // namespace Whirlpane
