// The Add BG editor: the picture on a backdrop of a built-in style, a custom
// colour or a photograph, with padding, rounded corners, a shadow and a
// canvas ratio. Every change redraws the preview at once from a copy of the
// picture reduced when the editor opens; "Save with Background" renders the
// full-size picture on the save thread and writes it as a PNG beside the
// source ("<name> With Background.png").
//
// The backdrop is exactly one of: a built-in style (its swatch selected), the
// custom colour (no swatch selected) or a photograph (no swatch selected);
// choosing a swatch or a colour lets go of the photograph.
//
// Thread safety: main thread only.
#pragma once

#include <QImage>
#include <filesystem>
#include <optional>
#include <vector>

#include "editors/common/editor_controller.h"
#include "editors/rendering/background_renderer.h"

namespace Whirlpane {

class WPActionButton;
class WPBackgroundSwatch;
class WPColorWell;
class WPPreviewView;
class WPRatioControl;
class WPSliderRow;

class WPBackgroundController : public WPEditorController {
 public:
  // The longer side of the preview's render.
  static constexpr int previewDimension = 820;

  // `image` is the decoded source picture (premultiplied ARGB).
  WPBackgroundController(const std::filesystem::path& url, const QImage& image);

  // The well's colour becomes the backdrop.
  void colorChanged();
  // Asks for a photograph in a file chooser on the window; the chosen file
  // goes to useBackground().
  void chooseBackground();
  // Decodes `file` and makes it the backdrop. A file that does not decode is
  // reported with the engine's message and the backdrop stays as it was.
  void useBackground(const std::filesystem::path& file);

  void resetEditor() override;
  void saveEditor() override;

  WPPreviewView* preview() const { return preview_; }
  const std::vector<WPBackgroundSwatch*>& swatches() const { return swatches_; }
  WPSliderRow* padding() const { return padding_; }
  WPSliderRow* corner() const { return corner_; }
  WPSliderRow* shadow() const { return shadow_; }
  WPRatioControl* ratioControl() const { return ratioControl_; }
  WPColorWell* customColor() const { return customColor_; }
  const WPBackgroundStyle& style() const { return style_; }
  bool hasBackdrop() const { return backdrop_.has_value(); }

 private:
  void choose(const WPBackgroundStyle& style, WPBackgroundSwatch* swatch);
  void refresh();

  QImage image_;
  WPReducedPicture reduced_;  // what the preview draws from, made once
  WPPreviewView* preview_;
  WPBackgroundStyle style_;
  std::optional<QImage> backdrop_;         // the photograph at full size, for saving
  std::optional<QImage> previewBackdrop_;  // the same reduced once for the preview
  WPSliderRow* padding_;
  WPSliderRow* corner_;
  WPSliderRow* shadow_;
  WPRatioControl* ratioControl_;
  std::vector<WPBackgroundSwatch*> swatches_;
  WPColorWell* customColor_;
  WPActionButton* imageButton_;
  std::optional<double> currentRatio_;
};

}  // namespace Whirlpane
