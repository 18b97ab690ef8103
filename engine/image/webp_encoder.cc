// SPDX-License-Identifier: GPL-3.0-or-later
#include "image/webp_encoder.h"

#include <webp/encode.h>

#include <cstdlib>

namespace MediaEngine::detail {

std::optional<Bytes> encodeWebp(const vips::VImage& pixels, int quality) {
  const VipsInterpretation interpretation = pixels.interpretation();
  if (pixels.format() != VIPS_FORMAT_UCHAR || pixels.get_image()->Coding != VIPS_CODING_NONE ||
      (pixels.bands() != 3 && pixels.bands() != 4) ||
      (interpretation != VIPS_INTERPRETATION_sRGB && interpretation != VIPS_INTERPRETATION_RGB)) {
    return std::nullopt;
  }
  WebPConfig config;
  if (!WebPConfigPreset(&config, WEBP_PRESET_DEFAULT, static_cast<float>(quality)))
    return std::nullopt;
  config.alpha_quality = 100;
  config.method = 4;
  config.thread_level = 1;
  vips::VImage held;
  try {
    held = pixels.copy_memory();  // libwebp takes the whole picture at once
  } catch (const vips::VError&) {
    vips_error_clear();
    return std::nullopt;
  }
  WebPPicture picture;
  if (!WebPPictureInit(&picture)) return std::nullopt;
  picture.width = held.width();
  picture.height = held.height();
  const auto* data = static_cast<const uint8_t*>(held.data());
  const int stride = held.width() * held.bands();
  WebPMemoryWriter writer;
  WebPMemoryWriterInit(&writer);
  picture.writer = WebPMemoryWrite;
  picture.custom_ptr = &writer;
  const bool imported = held.bands() == 4 ? WebPPictureImportRGBA(&picture, data, stride)
                                          : WebPPictureImportRGB(&picture, data, stride);
  held = vips::VImage();  // the picture now holds its own copy, in YUV
  const bool encoded = imported && WebPEncode(&config, &picture);
  WebPPictureFree(&picture);
  if (!encoded) {
    WebPMemoryWriterClear(&writer);
    return std::nullopt;
  }
  return Bytes::adopt(writer.mem, writer.size, [](void* memory) { WebPFree(memory); });
}

}  // namespace MediaEngine::detail
