// SPDX-License-Identifier: GPL-3.0-or-later
#include "editors/edit/adjustment_controller.h"

#include <QFontMetricsF>
#include <algorithm>
#include <cmath>

#include "editors/common/editor_image.h"
#include "editors/common/editor_text.h"
#include "editors/controls/action_button.h"
#include "editors/controls/preview_view.h"
#include "editors/controls/slider_row.h"
#include "whirlpane/failure.h"
#include "whirlpane/picture_file.h"

namespace Whirlpane {
namespace {

// A button showing `symbol` and `title`, named `title` for screen readers, at
// least `frame` wide and wider where the text needs it, about the same centre.
ActionButton* button(const QString& symbol, const QString& title, const QRectF& frame,
                     const QString& id, QWidget* parent, std::function<void()> handler) {
  const QString text = symbol + "  " + title;
  const QFont font = editorFont(11);
  QRectF fitted = frame;
  fitted.setWidth(
      std::max(frame.width(), std::ceil(QFontMetricsF(font).horizontalAdvance(text)) + 16));
  fitted.moveCenter(frame.center());
  auto* action = new ActionButton(fitted, parent);
  action->setText(text);
  action->setObjectName(id);
  action->setAccessibleName(title);
  action->setFont(font);
  action->handler = std::move(handler);
  return action;
}

}  // namespace

QString brightnessText(double value) { return QString::asprintf("%+.0f%%", value * 100); }

QString factorText(double value) { return QString::asprintf("%.0f%%", value * 100); }

AdjustmentController::AdjustmentController(const std::filesystem::path& file, const QImage& image)
    : AdjustmentController(file, image, previewSource(image)) {}

AdjustmentController::AdjustmentController(const std::filesystem::path& file,
                                           const EditorPreview& preview)
    : AdjustmentController(file, QImage(), previewSource(preview.image)) {}

AdjustmentController::AdjustmentController(const std::filesystem::path& file, const QImage& image,
                                           const QImage& reduced)
    : EditorFrame(file,
                  //: The Edit editor's window title: adjust the colours, turn and mirror.
                  tr("Edit Image"),
                  //: The Edit editor's Save button.
                  tr("Save"), "edit"),
      original_(image),
      reduced_(reduced) {
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
  //: The slider that makes the picture lighter or darker.
  brightness_ = slider(tr("Brightness"), 412.5 + 13, -1, 1, 0, "editor.edit.brightness",
                       brightnessText, &Adjustment::brightness);
  //: The slider of the difference between light and dark.
  contrast_ = slider(tr("Contrast"), 445.5 + 13, 0, 2, 1, "editor.edit.contrast", factorText,
                     &Adjustment::contrast);
  //: The slider of the colours' strength.
  saturation_ = slider(tr("Saturation"), 478.5 + 13, 0, 2, 1, "editor.edit.saturation", factorText,
                       &Adjustment::saturation);
  alignTitles({brightness_, contrast_, saturation_});
  //: A quarter turn clockwise.
  rotate_ = button(QString::fromUtf8("\u21bb"), tr("Rotate 90\u00b0"), QRectF(94, 530, 112, 25),
                   "editor.edit.rotate", surface(), [this] { rotate(); });
  //: Mirror the picture, left to right.
  flip_ = button(QString::fromUtf8("\u2194"), tr("Flip"), QRectF(218, 530, 106, 25),
                 "editor.edit.flip", surface(), [this] { flip(); });
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
  // The mirror is of what is shown, left to right. The adjustment mirrors
  // before it turns, and mirroring a turned picture is turning the mirrored
  // one the opposite way: so the turns so far are reversed with the mirror.
  adjustment_.flipped = !adjustment_.flipped;
  adjustment_.quarterTurns = (4 - adjustment_.quarterTurns) % 4;
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
    report(EditorError(renderFailure()));
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
    if (image.isNull()) throw EditorError(renderFailure());
    MediaEngine::writePicture(pictureOf(image), "png", target, source, 0.9);
    return target;
  });
}

}  // namespace Whirlpane
