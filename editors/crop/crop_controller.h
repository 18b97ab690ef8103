// SPDX-License-Identifier: GPL-3.0-or-later
// The Crop editor: the picture with its selection, a picker of a free crop
// and five fixed aspect ratios, and the selection's size in whole pixels,
// which can be typed. Apply writes the selection beside the source under
// " Cropped", in the source's own format when the engine can write it, else
// as a PNG; always the picture shown, whatever has become of the file since.
//
// Thread safety: main thread only.
#pragma once

#include <QImage>
#include <QLineEdit>
#include <filesystem>
#include <optional>
#include <string>

#include "editors/common/editor_frame.h"
#include "editors/common/editor_image.h"
#include "whirlpane/picture_file.h"

namespace Whirlpane {

class CropCanvas;
class RatioControl;

// The ratio of preset `index` of the picker: none for "Free" (0), then 1:1,
// 16:9, 9:16, 4:3 and 3:4.
std::optional<double> cropPresetRatio(int index);

// The format a crop of `source` is written in: its own (by extension, with
// "jpeg", "heif" and "tif" standing for "jpg", "heic" and "tiff") when it is
// a picture format the engine can write on this machine, else "png".
std::string croppedFormat(const std::filesystem::path& source);

class CropController : public EditorFrame {
  Q_OBJECT

 public:
  // `decoded`: the stamp `file` had before `image` was decoded from it; the
  // coded blocks of a JPEG are kept only while the file still has it.
  CropController(const std::filesystem::path& file, const QImage& image,
                 std::optional<MediaEngine::FileStamp> decoded);
  // Shows `preview` until decodeFullPicture() brings the whole picture.
  CropController(const std::filesystem::path& file, const EditorPreview& preview,
                 std::optional<MediaEngine::FileStamp> decoded);

  CropCanvas* canvas() const { return canvas_; }
  RatioControl* ratio() const { return ratio_; }
  QLineEdit* widthField() const { return widthField_; }
  QLineEdit* heightField() const { return heightField_; }

  void resetEditor() override;
  void saveEditor() override;

  // The action of both pixel fields (Return, or leaving the field).
  void sizeChanged(QLineEdit* field);

 protected:
  void pictureDecoded(const QImage& image) override;

 private:
  CropController(const std::filesystem::path& file, const QImage& image, const QImage& shown,
                 QSize size, std::optional<MediaEngine::FileStamp> decoded);

  CropCanvas* canvas_;
  RatioControl* ratio_;
  QLineEdit* widthField_;
  QLineEdit* heightField_;
  std::optional<MediaEngine::FileStamp> decoded_;
};

}  // namespace Whirlpane
