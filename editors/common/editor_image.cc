// SPDX-License-Identifier: GPL-3.0-or-later
#include "editors/common/editor_image.h"

#include <cstring>

namespace Whirlpane {

namespace {

QImage premultiplied(const MediaEngine::Picture& picture) {
  const QImage view(picture.rgba.data(), picture.width, picture.height, picture.width * 4,
                    QImage::Format_RGBA8888);
  // The view borrows the picture's bytes; the conversion makes the image its own.
  return view.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

}  // namespace

QImage loadEditorImage(const std::filesystem::path& file) {
  return premultiplied(MediaEngine::loadPicture(file));
}

EditorPreview loadEditorPreview(const std::filesystem::path& file) {
  const MediaEngine::PicturePreview preview =
      MediaEngine::loadPicturePreview(file, editorPreviewSide);
  return {premultiplied(preview.picture), QSize(preview.fullWidth, preview.fullHeight)};
}

MediaEngine::Picture pictureOf(const QImage& image) {
  const QImage rgba = image.convertToFormat(QImage::Format_RGBA8888);
  MediaEngine::Picture picture{rgba.width(), rgba.height(), {}};
  picture.rgba.resize(static_cast<size_t>(rgba.width()) * rgba.height() * 4);
  const size_t row = static_cast<size_t>(rgba.width()) * 4;
  for (int y = 0; y < rgba.height(); ++y) {
    std::memcpy(picture.rgba.data() + y * row, rgba.constScanLine(y), row);
  }
  return picture;
}

}  // namespace Whirlpane
