// SPDX-License-Identifier: GPL-3.0-or-later
#include "editors/crop/crop_controller.h"

#include <QFontMetricsF>
#include <QKeyEvent>
#include <QRegularExpressionValidator>
#include <algorithm>
#include <cmath>

#include "chrome/accent.h"
#include "editors/common/editor_image.h"
#include "editors/common/editor_text.h"
#include "editors/controls/ratio_control.h"
#include "editors/crop/crop_canvas.h"
#include "whirlpane/failure.h"
#include "whirlpane/formats.h"
#include "whirlpane/picture_file.h"

namespace Whirlpane {
namespace {

// A field where Return commits the number typed and goes no further: the
// window's Return (Save) is for the rest of the editor.
class PixelField : public QLineEdit {
 public:
  using QLineEdit::QLineEdit;

 protected:
  void keyPressEvent(QKeyEvent* event) override {
    QLineEdit::keyPressEvent(event);
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) event->accept();
  }
};

// The pixel fields take whole numbers of at least 1 and nothing else.
QLineEdit* pixelField(const QRectF& frame, const QString& id, QWidget* parent) {
  auto* field = new PixelField(parent);
  field->setGeometry(frame.toRect());
  field->setObjectName(id);
  QFont font = editorFont(11);
  font.setStyleHint(QFont::Monospace);
  field->setFont(font);
  field->setValidator(
      new QRegularExpressionValidator(QRegularExpression("[1-9][0-9]{0,8}"), field));
  field->setStyleSheet(
      "QLineEdit { background: rgba(255, 255, 255, 0.85); color: rgba(0, 0, 0, 0.85);"
      " border: 1px solid rgba(0, 0, 0, 0.14); border-radius: 5px; padding: 0 4px; }"
      "QLineEdit:focus { border: 2px solid " +
      whirlAccent().name() + "; padding: 0 3px; }");
  return field;
}

// The digits of `value` rounded half away from zero; never grouped, whatever
// the locale (QString::number ignores it).
QString pixelText(double value) { return QString::number(std::llround(value)); }

// A field's whole number, or NaN when it holds none.
double fieldValue(const QLineEdit* field) {
  bool ok = false;
  const double value = field->text().toDouble(&ok);
  return ok ? value : std::nan("");
}

// A label at `frame`, made wider where its text (and a little room after it)
// needs it; returns its width.
qreal label(const QString& text, const QRectF& frame, QWidget* parent) {
  const QFont font = editorFont(10.5);
  const qreal needed = std::ceil(QFontMetricsF(font).horizontalAdvance(text));
  QRectF fitted = frame;
  if (needed > frame.width()) fitted.setWidth(needed + 3);
  (new EditorLabel(fitted, font, hintColor(), parent))->setText(text);
  return fitted.width();
}

}  // namespace

std::optional<double> cropPresetRatio(int index) {
  static constexpr double ratios[] = {1.0, 16.0 / 9, 9.0 / 16, 4.0 / 3, 3.0 / 4};
  if (index < 1 || index > 5) return std::nullopt;
  return ratios[index - 1];
}

std::string croppedFormat(const std::filesystem::path& source) {
  const std::string own = MediaEngine::lowerExtension(source);
  std::string format;
  try {
    format = MediaEngine::normalized(own);
  } catch (const std::exception&) {
    return "png";
  }
  return MediaEngine::isRaster(format) && MediaEngine::canWritePicture(format) ? own : "png";
}

CropController::CropController(const std::filesystem::path& file, const QImage& image,
                               std::optional<MediaEngine::FileStamp> decoded)
    : CropController(file, image, image, image.size(), decoded) {}

CropController::CropController(const std::filesystem::path& file, const EditorPreview& preview,
                               std::optional<MediaEngine::FileStamp> decoded)
    : CropController(file, QImage(), preview.image, preview.fullSize, decoded) {}

CropController::CropController(const std::filesystem::path& file, const QImage& image,
                               const QImage& shown, QSize size,
                               std::optional<MediaEngine::FileStamp> decoded)
    : EditorFrame(file,
                  //: The Crop editor's window title.
                  tr("Crop Image"),
                  //: The Crop editor's Save button: save the cut picture.
                  tr("Apply"), "crop", QSize(370, 560)),
      decoded_(decoded) {
  canvas_ = new CropCanvas(shown, size, QRectF(16, 47, 338, 382), surface());
  canvas_->setImage(image);
  // The ratio control starts at 121, or after a longer label.
  //: The label before the choices of the cut's shape (free, square, 16:9 ...).
  const qreal labelWidth = label(tr("Aspect ratio"), QRectF(15, 447.5, 80, 15), surface());
  const qreal ratioLeft = std::max<qreal>(121, 15 + labelWidth + 8);
  //: The first choice of the aspect ratio: any shape.
  ratio_ =
      new RatioControl({tr("Free"), "1:1", "16:9", "9:16", "4:3", "3:4"},
                       QRectF(ratioLeft, 445, 354 - ratioLeft, 20), "editor.crop.ratio", surface(),
                       [this](int index) { canvas_->setRatio(cropPresetRatio(index)); });
  ratio_->setAccessibleName(tr("Aspect ratio"));
  // Each label, field and unit in a row, where English places them; longer
  // labels push what follows to the right.
  qreal x = 16;
  //: Short for width, before the width field (one or two letters).
  x += label(tr("W"), QRectF(x, 477.5, 12, 15), surface()) + 2;
  widthField_ = pixelField(QRectF(x, 475.5, 59, 19), "editor.crop.width", surface());
  //: The width field's name for screen readers.
  widthField_->setAccessibleName(tr("Width in pixels"));
  x += 59 + 7;
  //: Short for height, before the height field (one or two letters).
  x += label(tr("H"), QRectF(x, 477.5, 12, 15), surface());
  heightField_ = pixelField(QRectF(x, 475.5, 59, 19), "editor.crop.height", surface());
  //: The height field's name for screen readers.
  heightField_->setAccessibleName(tr("Height in pixels"));
  label("px", QRectF(x + 59 + 7, 477.5, 24, 15), surface());

  for (QLineEdit* field : {widthField_, heightField_}) {
    // Return, and leaving the field, both apply what was typed; Return does
    // not save.
    connect(field, &QLineEdit::editingFinished, this, [this, field] { sizeChanged(field); });
  }
  canvas_->onChange = [this](const QRectF& rect) {
    widthField_->setText(pixelText(rect.width()));
    heightField_->setText(pixelText(rect.height()));
  };
  canvas_->reset();
  waitForPicture(widthField_);
  waitForPicture(heightField_);
}

void CropController::pictureDecoded(const QImage& image) { canvas_->setImage(image); }

void CropController::sizeChanged(QLineEdit* field) {
  canvas_->setSize(fieldValue(widthField_), fieldValue(heightField_), field == widthField_);
}

void CropController::resetEditor() {
  canvas_->reset();
  ratio_->setSelectedSegment(0);
}

void CropController::saveEditor() {
  // A size typed but not yet confirmed counts, as it would on leaving the field.
  const QRectF shown = canvas_->selection();
  if (widthField_->text() != pixelText(shown.width()) && widthField_->hasAcceptableInput()) {
    sizeChanged(widthField_);
  } else if (heightField_->text() != pixelText(shown.height()) &&
             heightField_->hasAcceptableInput()) {
    sizeChanged(heightField_);
  }
  if (QWidget* focused = window()->focusWidget()) focused->clearFocus();
  const QImage whole = canvas_->image();
  const QRect rect = canvas_->geometry().pixelRect();
  if (whole.isNull() || rect.isEmpty()) {
    report(EditorError(renderFailure()));
    return;
  }
  const std::string format = croppedFormat(sourceFile());
  // A JPEG cut on its block grid keeps its coded blocks: no second generation
  // of compression, and the pixels stay exactly the source's. Elsewhere, and
  // when the file is no longer the one shown, the selection is encoded again
  // (cut out on the save thread: a whole photograph is no small copy).
  const std::optional<MediaEngine::FileStamp> blocks =
      MediaEngine::normalized(format) == "jpg" ? decoded_ : std::nullopt;
  std::filesystem::path target;
  try {
    target = MediaEngine::uniqueSibling(sourceFile(), " Cropped", format);
  } catch (const std::exception& failure) {
    report(EditorError(MediaEngine::describe(failure)));
    return;
  }
  performSave([whole, rect, format, target, source = sourceFile(), blocks] {
    if (!blocks || !MediaEngine::writeCroppedJPEG(source, *blocks, rect.x(), rect.y(), rect.width(),
                                                  rect.height(), target)) {
      MediaEngine::writePicture(pictureOf(whole.copy(rect)), format, target, source, 0.9);
    }
    return target;
  });
}

}  // namespace Whirlpane
