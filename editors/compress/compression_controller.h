// SPDX-License-Identifier: GPL-3.0-or-later
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

#include "editors/common/editor_frame.h"

namespace Whirlpane {

class PreviewView;
class SliderRow;

class CompressionController : public EditorFrame {
  Q_OBJECT

 public:
  static constexpr double defaultQuality = 0.8;

  // `image` is null when the file did not decode.
  CompressionController(const std::filesystem::path& file, const QImage& image);

  PreviewView* preview() const { return preview_; }
  SliderRow* quality() const { return quality_; }
  // The file's icon, shown in place of the picture; null when there is a picture.
  QLabel* fileIcon() const { return fileIcon_; }

  void resetEditor() override;
  void saveEditor() override;

 private:
  PreviewView* preview_;
  SliderRow* quality_;
  QLabel* fileIcon_ = nullptr;
};

// The desktop icon theme's icon for the file's MIME type (by name and
// content), at `size`; the generic file icon when the theme has none for it.
QPixmap fileIcon(const std::filesystem::path& file, QSize size);

// "Original: " and the file's size as a byte count ("2.4 MB"); a size that
// cannot be read counts as 0.
QString originalSizeText(const std::filesystem::path& file);

}  // namespace Whirlpane
