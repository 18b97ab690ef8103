// SPDX-License-Identifier: GPL-3.0-or-later
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

#include "editors/common/editor_frame.h"
#include "editors/common/editor_image.h"
#include "editors/rendering/background_renderer.h"

namespace Whirlpane {

class ActionButton;
class BackgroundSwatch;
class ColorWell;
class EditorLabel;
class PreviewView;
class RatioControl;
class SliderRow;

class BackgroundController : public EditorFrame {
  Q_OBJECT

 public:
  // The longer side of the preview's render.
  static constexpr int previewDimension = 820;

  // `image` is the decoded source picture (premultiplied ARGB).
  BackgroundController(const std::filesystem::path& file, const QImage& image);
  // Shows `preview` until decodeFullPicture() brings the whole picture.
  BackgroundController(const std::filesystem::path& file, const EditorPreview& preview);

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

  PreviewView* preview() const { return preview_; }
  const std::vector<BackgroundSwatch*>& swatches() const { return swatches_; }
  SliderRow* padding() const { return padding_; }
  SliderRow* corner() const { return corner_; }
  SliderRow* shadow() const { return shadow_; }
  RatioControl* ratioControl() const { return ratioControl_; }
  ColorWell* customColor() const { return customColor_; }
  const BackgroundStyle& style() const { return style_; }
  bool hasBackdrop() const { return backdrop_.has_value(); }
  // The note shown while the result at full size would be too large to
  // write, naming the smaller size Save writes instead; hidden otherwise.
  EditorLabel* sizeNote() const { return sizeNote_; }

 protected:
  void pictureDecoded(const QImage& image) override { image_ = image; }

 private:
  BackgroundController(const std::filesystem::path& file, const QImage& image,
                       ReducedPicture reduced);
  void choose(const BackgroundStyle& style, BackgroundSwatch* swatch);
  void refresh();

  QImage image_;
  ReducedPicture reduced_;  // what the preview draws from, made once
  PreviewView* preview_;
  BackgroundStyle style_;
  std::optional<QImage> backdrop_;         // the photograph at full size, for saving
  std::optional<QImage> previewBackdrop_;  // the same reduced once for the preview
  SliderRow* padding_;
  SliderRow* corner_;
  SliderRow* shadow_;
  RatioControl* ratioControl_;
  std::vector<BackgroundSwatch*> swatches_;
  ColorWell* customColor_;
  ActionButton* imageButton_;
  std::optional<double> currentRatio_;
  EditorLabel* sizeNote_;
  // The longer side Save limits the result to; none for the full size.
  std::optional<double> savedDimension_;
};

}  // namespace Whirlpane
