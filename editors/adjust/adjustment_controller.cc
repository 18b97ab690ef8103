#include "editors/adjust/adjustment_controller.h"

#include "editors/common/editor_image.h"
#include "editors/common/editor_text.h"
#include "editors/controls/action_button.h"
#include "editors/controls/preview_view.h"
#include "editors/controls/slider_row.h"
#include "whirlpane/failure.h"
#include "whirlpane/picture_file.h"

namespace Whirlpane {
namespace {

WPActionButton* button(const QString& title, const QRectF& frame, const QString& id,
                       QWidget* parent, std::function<void()> handler) {
  auto* action = new WPActionButton(frame, parent);
  action->setText(title);
  action->setObjectName(id);
  action->setAccessibleName(id);
  action->setFont(editorFont(11));
  action->handler = std::move(handler);
  return action;
}

}  // namespace

QString brightnessText(double value) { return QString::asprintf("%+.0f%%", value * 100); }

QString factorText(double value) { return QString::asprintf("%.0f%%", value * 100); }

WPAdjustmentController::WPAdjustmentController(const std::filesystem::path& url,
                                               const QImage& image)
    : WPEditorController(url, "Edit Image", "Save", "edit"),
      original_(image),
      reduced_(previewSource(image)) {
  preview_ = new WPPreviewView(QRectF(16, 53, 388, 344), surface());
  preview_->setObjectName("editor.edit.preview");
  const auto slider = [this](const QString& title, qreal centerY, double minimum, double maximum,
                             double value, const QString& id, WPSliderRow::Formatter text,
                             double Adjustment::*field) {
    auto* row = new WPSliderRow(title, centerY, 18, 384, minimum, maximum, value, id, surface(),
                                std::move(text));
    row->handler = [this, field](double changed) {
      adjustment_.*field = changed;
      refresh();
    };
    return row;
  };
  brightness_ = slider("Brightness", 412.5 + 13, -1, 1, 0, "editor.edit.brightness", brightnessText,
                       &Adjustment::brightness);
  contrast_ = slider("Contrast", 445.5 + 13, 0, 2, 1, "editor.edit.contrast", factorText,
                     &Adjustment::contrast);
  saturation_ = slider("Saturation", 478.5 + 13, 0, 2, 1, "editor.edit.saturation", factorText,
                       &Adjustment::saturation);
  rotate_ = button(QString::fromUtf8("\u21bb  Rotate 90\u00b0"), QRectF(94, 530, 112, 25),
                   "editor.edit.rotate", surface(), [this] { rotate(); });
  flip_ = button(QString::fromUtf8("\u2194  Flip"), QRectF(218, 530, 106, 25), "editor.edit.flip",
                 surface(), [this] { flip(); });
  refresh();
}

QImage WPAdjustmentController::render(bool previewOnly) const {
  return adjusted(previewOnly ? reduced_ : original_, adjustment_);
}

void WPAdjustmentController::refresh() { preview_->setImage(render(true)); }

void WPAdjustmentController::rotate() {
  adjustment_.quarterTurns = (adjustment_.quarterTurns + 1) % 4;
  refresh();
}

void WPAdjustmentController::flip() {
  adjustment_.flipped = !adjustment_.flipped;
  refresh();
}

void WPAdjustmentController::resetEditor() {
  adjustment_ = Adjustment{};
  brightness_->setValue(adjustment_.brightness);
  contrast_->setValue(adjustment_.contrast);
  saturation_->setValue(adjustment_.saturation);
  refresh();
}

void WPAdjustmentController::saveEditor() {
  if (original_.isNull()) {
    report(WPEditorError("The image could not be rendered."));
    return;
  }
  std::filesystem::path target;
  try {
    target = MediaEngine::uniqueSibling(sourceURL(), " Edited", "png");
  } catch (const std::exception& failure) {
    report(WPEditorError(MediaEngine::describe(failure)));
    return;
  }
  // The full-size render runs on the save thread, from the source, which
  // nothing changes while the editor is open.
  performSave([original = original_, adjustment = adjustment_, target, source = sourceURL()] {
    const QImage image = adjusted(original, adjustment);
    if (image.isNull()) throw WPEditorError("The image could not be rendered.");
    MediaEngine::writePicture(pictureOf(image), "png", target, source, 0.9);
    return target;
  });
}

}  // namespace Whirlpane
