// SPDX-License-Identifier: GPL-3.0-or-later
// The Edit editor: brightness, contrast and saturation sliders, a quarter
// turn and a mirror, over a live preview of the picture reduced once to at
// most 900 pixels on its longer side. Save renders the full-size picture
// from the untouched source on the save thread and writes it as a PNG beside
// the source under " Edited".
//
// Thread safety: main thread only.
#pragma once

#include <QImage>
#include <filesystem>

#include "editors/common/editor_frame.h"
#include "editors/common/editor_image.h"
#include "editors/edit/adjustment.h"

namespace Whirlpane {

class ActionButton;
class PreviewView;
class SliderRow;

// The value texts of the sliders: brightness signed ("+25%", "-40%", "+0%"),
// contrast and saturation plain ("100%").
QString brightnessText(double value);
QString factorText(double value);

class AdjustmentController : public EditorFrame {
  Q_OBJECT

 public:
  AdjustmentController(const std::filesystem::path& file, const QImage& image);
  // Shows `preview` until decodeFullPicture() brings the whole picture.
  AdjustmentController(const std::filesystem::path& file, const EditorPreview& preview);

  PreviewView* preview() const { return preview_; }
  SliderRow* brightness() const { return brightness_; }
  SliderRow* contrast() const { return contrast_; }
  SliderRow* saturation() const { return saturation_; }
  ActionButton* rotateButton() const { return rotate_; }
  ActionButton* flipButton() const { return flip_; }
  const Adjustment& adjustment() const { return adjustment_; }

  // The picture with the current settings: the preview's, or full size.
  QImage render(bool previewOnly) const;

  void rotate();
  void flip();
  void resetEditor() override;
  void saveEditor() override;

 protected:
  void pictureDecoded(const QImage& image) override { original_ = image; }

 private:
  AdjustmentController(const std::filesystem::path& file, const QImage& image,
                       const QImage& reduced);
  void refresh();

  QImage original_;
  QImage reduced_;  // original_ at preview size, made once
  PreviewView* preview_;
  SliderRow* brightness_;
  SliderRow* contrast_;
  SliderRow* saturation_;
  ActionButton* rotate_;
  ActionButton* flip_;
  Adjustment adjustment_;
};

}  // namespace Whirlpane
