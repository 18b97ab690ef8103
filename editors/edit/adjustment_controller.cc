// SPDX-License-Identifier: GPL-3.0-or-later
#include "editors/edit/adjustment_controller.h"

#include "editors/common/editor_image.h"
#include "editors/common/editor_text.h"
#include "editors/controls/action_button.h"
#include "editors/controls/preview_view.h"
#include "editors/controls/slider_row.h"
#include "whirlpane/failure.h"
#include "whirlpane/picture_file.h"

namespace Whirlpane {
namespace {

ActionButton* button(const QString& title, const QRectF& frame, const QString& id, QWidget* parent,
                     std::function<void()> handler) {
  auto* action = new ActionButton(frame, parent);
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

AdjustmentController::AdjustmentController(const std::filesystem::path& file, const QImage& image)
    : EditorFrame(file, "Edit Image", "Save", "edit"),
      original_(image),
      reduced_(previewSource(image)) {
  preview_ = new PreviewView(QRectF(16, 53, 388, 344), surface());
  preview_->setObjectName("editor.edit.preview");
  const auto slider = [this](const QString& title, qreal centerY, double minimum, double maximum,
                             double value, const QString& id, SliderRow::Formatter text,
                             double Adjustment::*field) {
    auto* row = new SliderRow(title, centerY, 18, 384, minimum, maximum, value, id, surface(),
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

QImage AdjustmentController::render(bool previewOnly) const {
  return adjusted(previewOnly ? reduced_ : original_, adjustment_);
}

void AdjustmentController::refresh() { preview_->setImage(render(true)); }

void AdjustmentController::rotate() {
  adjustment_.quarterTurns = (adjustment_.quarterTurns + 1) % 4;
  refresh();
}

void AdjustmentController::flip() {
  adjustment_.flipped = !adjustment_.flipped;
  refresh();
}

void AdjustmentController::resetEditor() {
  adjustment_ = Adjustment{};
  brightness_->setValue(adjustment_.brightness);
  contrast_->setValue(adjustment_.contrast);
  saturation_->setValue(adjustment_.saturation);
  refresh();
}

void AdjustmentController::saveEditor() {
  if (original_.isNull()) {
    report(EditorError("The image could not be rendered."));
    return;
  }
  std::filesystem::path target;
  try {
    target = MediaEngine::uniqueSibling(sourceFile(), " Edited", "png");
  } catch (const std::exception& failure) {
    report(EditorError(MediaEngine::describe(failure)));
    return;
  }
  // The full-size render runs on the save thread, from the source, which
  // nothing changes while the editor is open.
  performSave([original = original_, adjustment = adjustment_, target, source = sourceFile()] {
    const QImage image = adjusted(original, adjustment);
    if (image.isNull()) throw EditorError("The image could not be rendered.");
    MediaEngine::writePicture(pictureOf(image), "png", target, source, 0.9);
    return target;
  });
}

}  // namespace Whirlpane
