// The Compress editor: the picture (or, when it does not decode, the file's
// icon), its name and size, and a quality slider; "Compress & Save" writes a
// smaller copy beside it through the engine, which names it and decides
// whether it can be made smaller at all.
//
// Thread safety: main thread only.
#pragma once

#include <QImage>
#include <QLabel>
#include <filesystem>

#include "editors/common/editor_controller.h"

namespace Whirlpane {

class WPPreviewView;
class WPSliderRow;

class WPCompressionController : public WPEditorController {
 public:
  static constexpr double defaultQuality = 0.8;

  // `image` is null when the file did not decode.
  WPCompressionController(const std::filesystem::path& url, const QImage& image);

  WPPreviewView* preview() const { return preview_; }
  WPSliderRow* quality() const { return quality_; }
  // The file's icon, shown in place of the picture; null when there is a picture.
  QLabel* fileIcon() const { return fileIcon_; }

  void resetEditor() override;
  void saveEditor() override;

 private:
  WPPreviewView* preview_;
  WPSliderRow* quality_;
  QLabel* fileIcon_ = nullptr;
};

// The desktop icon theme's icon for the file's MIME type (by name and
// content), at `size`; the generic file icon when the theme has none for it.
QPixmap fileIcon(const std::filesystem::path& url, QSize size);

// "Original: " and the file's size as a byte count ("2.4 MB"); a size that
// cannot be read counts as 0.
QString originalSizeText(const std::filesystem::path& url);

}  // namespace Whirlpane
