// SPDX-License-Identifier: GPL-3.0-or-later
// The Compress editor: the picture (or, when it does not decode, the file's
// icon), its name and size, a quality slider with the size the copy will
// have at it, and what the copy leaves out; "Compress & Save" writes a
// smaller copy beside it through the engine, which names it and decides
// whether it can be made smaller at all. The copy is made from the file that
// was opened: one replaced or changed since is refused, not compressed.
//
// The size shown is the engine's own: the copy made in full on a worker
// thread and thrown away, so it is the size Save writes. It is made once the
// slider has rested for a moment; a movement while one is made supersedes
// it, and the newest quality is made as soon as that one ends.
//
// Thread safety: main thread only.
#pragma once

#include <QImage>
#include <QLabel>
#include <QTimer>
#include <filesystem>
#include <optional>

#include "editors/common/editor_frame.h"
#include "whirlpane/picture_file.h"

namespace Whirlpane {

class PreviewView;
class SliderRow;

class CompressionController : public EditorFrame {
  Q_OBJECT

 public:
  static constexpr double defaultQuality = 0.8;

  // How long the slider rests before the copy's size is made, in ms.
  static constexpr int estimateDelay = 200;

  // `image` is null when the file did not decode; `opened` is the file's
  // stamp taken before it was first read.
  CompressionController(const std::filesystem::path& file, const QImage& image,
                        std::optional<MediaEngine::FileStamp> opened);

  PreviewView* preview() const { return preview_; }
  SliderRow* quality() const { return quality_; }
  // The file's icon, shown in place of the picture; null when there is a picture.
  QLabel* fileIcon() const { return fileIcon_; }
  // "New copy: about 1.2 MB", or what stands in for it while it is made or
  // when there is none.
  EditorLabel* estimateLabel() const { return estimateLabel_; }
  // The size in bytes the copy has at `quality`, once made for the slider's
  // value now; nullopt while it is made, or when no smaller copy can be made.
  std::optional<long long> estimate() const;
  // The line saying what the copy leaves out; null for a PDF, which keeps its
  // document information.
  EditorLabel* metadataNote() const { return metadataNote_; }

  void resetEditor() override;
  void saveEditor() override;

 private:
  // The slider moved: the size is made again once it rests.
  void estimateSoon();
  // Makes the size for the slider's value on the worker thread, unless one
  // is being made (then the newest value is made when it ends).
  void startEstimate();
  // `bytes` is the size made for `quality`; none when the copy would be no
  // smaller (`noSmaller`) or cannot be made at all.
  void estimated(double quality, std::optional<long long> bytes, bool noSmaller);

  PreviewView* preview_;
  SliderRow* quality_;
  QLabel* fileIcon_ = nullptr;
  EditorLabel* estimateLabel_;
  EditorLabel* metadataNote_ = nullptr;
  std::optional<MediaEngine::FileStamp> opened_;
  QTimer estimateTimer_;
  bool estimating_ = false;
  // The last size made and the quality it was made for.
  std::optional<double> estimateQuality_;
  std::optional<long long> estimate_;
};

// The desktop icon theme's icon for the file's MIME type (by name and
// content), at `size`; the generic file icon when the theme has none for it.
QPixmap fileIcon(const std::filesystem::path& file, QSize size);

// "Original: " and the file's size as a byte count ("2.4 MB"); a size that
// cannot be read counts as 0.
QString originalSizeText(const std::filesystem::path& file);

}  // namespace Whirlpane
