// SPDX-License-Identifier: GPL-3.0-or-later
#include "editors/common/editor_image.h"

#include <QRgb>
#include <cstdint>

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
  if (image.format() != QImage::Format_ARGB32_Premultiplied) {
    const QImage rgba = image.convertToFormat(QImage::Format_RGBA8888);
    const auto* bits = rgba.constBits();  // rows of four-byte pixels are never padded
    return {rgba.width(), rgba.height(), {bits, bits + rgba.sizeInBytes()}};
  }
  MediaEngine::Picture picture{image.width(), image.height(), {}};
  picture.rgba.resize(static_cast<size_t>(image.width()) * image.height() * 4);
  // Qt's own conversion divides every pixel by its alpha, opaque or not, and
  // takes several times as long on the editors' mostly opaque pictures.
  uint8_t* out = picture.rgba.data();
  for (int y = 0; y < image.height(); ++y) {
    const auto* in = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    for (int x = 0; x < image.width(); ++x, out += 4) {
      const QRgb pixel = qAlpha(in[x]) == 255 ? in[x] : qUnpremultiply(in[x]);
      out[0] = static_cast<uint8_t>(qRed(pixel));
      out[1] = static_cast<uint8_t>(qGreen(pixel));
      out[2] = static_cast<uint8_t>(qBlue(pixel));
      out[3] = static_cast<uint8_t>(qAlpha(pixel));
    }
  }
  return picture;
}

}  // namespace Whirlpane
