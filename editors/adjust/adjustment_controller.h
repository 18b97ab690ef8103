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

#include "editors/adjust/adjustment.h"
#include "editors/common/editor_controller.h"

namespace Whirlpane {

class WPActionButton;
class WPPreviewView;
class WPSliderRow;

// The value texts of the sliders: brightness signed ("+25%", "-40%", "+0%"),
// contrast and saturation plain ("100%").
QString brightnessText(double value);
QString factorText(double value);

class WPAdjustmentController : public WPEditorController {
 public:
  WPAdjustmentController(const std::filesystem::path& url, const QImage& image);

  WPPreviewView* preview() const { return preview_; }
  WPSliderRow* brightness() const { return brightness_; }
  WPSliderRow* contrast() const { return contrast_; }
  WPSliderRow* saturation() const { return saturation_; }
  WPActionButton* rotateButton() const { return rotate_; }
  WPActionButton* flipButton() const { return flip_; }
  const Adjustment& adjustment() const { return adjustment_; }

  // The picture with the current settings: the preview's, or full size.
  QImage render(bool previewOnly) const;

  void rotate();
  void flip();
  void resetEditor() override;
  void saveEditor() override;

 private:
  void refresh();

  QImage original_;
  QImage reduced_;  // original_ at preview size, made once
  WPPreviewView* preview_;
  WPSliderRow* brightness_;
  WPSliderRow* contrast_;
  WPSliderRow* saturation_;
  WPActionButton* rotate_;
  WPActionButton* flip_;
  Adjustment adjustment_;
};

}  // namespace Whirlpane
