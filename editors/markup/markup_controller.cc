// SPDX-License-Identifier: GPL-3.0-or-later
#include "editors/markup/markup_controller.h"

#include <QColorDialog>
#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>
#include <cmath>

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

QString windowTitle(bool redaction) {
  if (redaction) {
    //: The Redact editor's window title: black out parts of the picture.
    return MarkupController::tr("Redact Image");
  }
  //: The Annotate editor's window title: draw and write on the picture.
  return MarkupController::tr("Annotate Image");
}

QString saveTitle(bool redaction) {
  if (redaction) {
    //: The Redact editor's Save button.
    return MarkupController::tr("Save Redacted");
  }
  //: The Annotate editor's Save button.
  return MarkupController::tr("Save");
}

}  // namespace

MarkupController::MarkupController(const std::filesystem::path& file, const QImage& image,
                                   bool redaction)
    : MarkupController(file, new AnnotationCanvas(image, nullptr), redaction) {}

MarkupController::MarkupController(const std::filesystem::path& file, const EditorPreview& preview,
                                   bool redaction)
    : MarkupController(file, new AnnotationCanvas(preview.image, preview.fullSize, nullptr),
                       redaction) {}

MarkupController::MarkupController(const std::filesystem::path& file, AnnotationCanvas* canvas,
                                   bool redaction)
    : EditorFrame(file, windowTitle(redaction), saveTitle(redaction),
                  redaction ? "redact" : "annotate"),
      redaction_(redaction),
      canvas_(canvas) {
  const QString word = identifierWord();
  canvas_->setParent(surface());
  canvas_->show();
  canvas_->setGeometry(16, 53, 388, 367);
  if (redaction_) {
    canvas_->setTool(Tool::redact);
    //: The picture's name for screen readers in Redact.
    canvas_->setAccessibleName(tr("Picture to redact"));
    canvas_->setAccessibleDescription(
        tr("Drag over sensitive areas to cover them with solid pixels."));
    auto* hint = new EditorLabel(QRectF(24, 435, 372, 36), editorFont(11), hintColor(), surface(),
                                 Qt::AlignLeft | Qt::AlignTop, 2);
    hint->setText(tr("Drag over sensitive areas to cover them with solid pixels."));
    const QString caution = tr("Exported redactions cannot be removed.");
    const QFont cautionFont = editorFont(11, QFont::Medium);
    // One line where it fits; two, down towards Undo, where it does not.
    const bool oneLine = QFontMetricsF(cautionFont).horizontalAdvance(caution) <= 372;
    auto* warning = new EditorLabel(
        QRectF(24, 479, 372, oneLine ? 20 : 36), cautionFont, labelColor(1), surface(),
        oneLine ? Qt::AlignLeft | Qt::AlignVCenter : Qt::AlignLeft | Qt::AlignTop, oneLine ? 1 : 2);
    warning->setText(caution);
  } else {
    //: The picture's name for screen readers in Annotate.
    canvas_->setAccessibleName(tr("Picture to annotate"));
    //: How to use the drawing area; "Text" is Annotate's tool of that name.
    canvas_->setAccessibleDescription(tr("Drag to draw. Select Text and click to insert text."));
    AnnotationLayer& layer = canvas_->layer();
    layer.strokeWidth = 6;
    layer.inkColor = whirlAccent();
    //: The text a new label on the picture shows until the user types another.
    const QString sample = tr("Text");
    layer.textValue = sample;
    toolControl_ = new RatioControl(
        {
            //: Annotate's tool that draws freehand lines.
            tr("Pen"),
            //: Annotate's tool that draws rectangles.
            tr("Rectangle"),
            //: Annotate's tool that draws arrows.
            tr("Arrow"),
            //: Annotate's tool that places text; a noun.
            tr("Text", "tool"),
        },
        QRectF(30, 430, 360, 27), "editor.annotate.tool", surface(),
        [this](int index) { canvas_->setTool(annotateTools[index]); });
    //: The name of the row of tools (pen, rectangle, arrow, text) for screen readers.
    toolControl_->setAccessibleName(tr("Tool"));
    //: The slider of the line width the pen, rectangles and arrows draw with.
    stroke_ =
        new SliderRow(tr("Stroke"), 477.5, 18, 384, 1, 40, 6, "editor.annotate.stroke", surface());
    stroke_->handler = [this](double value) { canvas_->layer().strokeWidth = value; };
    color_ =
        new ColorWell(QRectF(24, 504, 35, 25), whirlAccent(), surface(), ColorWell::Look::bezel);
    color_->setObjectName("editor.annotate.color");
    //: The colour button's name for screen readers.
    color_->setAccessibleName(tr("Ink colour"));
    color_->onChange = [this](const QColor& color) { colorChanged(color); };
    textField_ = new QLineEdit(sample, surface());
    textField_->setGeometry(72, 504, 324, 25);
    textField_->setPlaceholderText(tr("Text to place on the image"));
    //: The text field's name for screen readers.
    textField_->setAccessibleName(tr("Label text"));
    textField_->setFont(editorFont(11));
    textField_->setObjectName("editor.annotate.text");
    // Light like the rest of the window whatever the desktop's palette.
    QPalette light = textField_->palette();
    light.setColor(QPalette::PlaceholderText, hintColor());
    textField_->setPalette(light);
    textField_->setStyleSheet(
        "QLineEdit { background: rgba(255, 255, 255, 0.85); color: rgba(0, 0, 0, 0.85);"
        " border: 1px solid rgba(0, 0, 0, 0.14); border-radius: 5px; padding: 0 5px; }"
        "QLineEdit:focus { border: 2px solid " +
        whirlAccent().name() + "; padding: 0 4px; }");
    // Every keystroke, not only Return, so the next label is what is typed.
    QObject::connect(textField_, &QLineEdit::textChanged, this,
                     [this](const QString& text) { textChanged(text); });
  }
  //: Takes back the last mark.
  const QString undoTitle = tr("Undo");
  const QFont undoFont = editorFont(11);
  const qreal undoWidth =
      std::max<qreal>(63, std::ceil(QFontMetricsF(undoFont).horizontalAdvance(undoTitle)) + 16);
  auto* undo = new ActionButton(QRectF(24, 546, undoWidth, 23), surface());
  undo->setText(undoTitle);
  undo->setFont(undoFont);
  undo->setObjectName("editor." + word + ".undo");
  undo->handler = [this] { canvas_->undo(); };
}

void MarkupController::colorChanged(const QColor& color) { canvas_->layer().inkColor = color; }

void MarkupController::textChanged(const QString& text) { canvas_->layer().textValue = text; }

void MarkupController::resetEditor() { canvas_->clear(); }

void MarkupController::pictureDecoded(const QImage& image) { canvas_->setOriginalImage(image); }

void MarkupController::saveEditor() {
  const QImage whole = canvas_->originalImage();
  if (whole.isNull()) {
    report(EditorError(renderFailure()));
    return;
  }
  // The marks are burnt into the whole picture on the save thread.
  saveRendered([layer = canvas_->layer(), whole] { return layer.renderedImage(whole); },
               redaction_ ? " Redacted" : " Annotated", "png");
}

}  // namespace Whirlpane
