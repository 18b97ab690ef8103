// SPDX-License-Identifier: GPL-3.0-or-later
// libwhirlpane-heif.so: HEIC and AVIF encoding with libheif. See heif_plugin.h.
#include "modules/heif_plugin.h"

#include <libheif/heif.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "base/handles.h"

namespace {

using MediaEngine::Owned;

heif_compression_format formatOf(int codec) {
  return codec == whirlpaneHeifAV1 ? heif_compression_AV1 : heif_compression_HEVC;
}

struct Sink {
  std::vector<unsigned char> bytes;
};

heif_error writeToSink(heif_context*, const void* data, size_t size, void* userdata) {
  auto* sink = static_cast<Sink*>(userdata);
  const auto* begin = static_cast<const unsigned char*>(data);
  sink->bytes.insert(sink->bytes.end(), begin, begin + size);
  return heif_error{heif_error_Ok, heif_suberror_Unspecified, "ok"};
}

// Encoder speed. On photographs at quality 90, x265's "ultrafast" preset
// writes files within a few percent of the slower presets' size with an error
// (MSE 1.01 against 0.93 for "faster") no eye can see, in a third of the time;
// libaom at speed 9 matches speed 7's error and size in a third of the time.
// Figures in bench/RESULTS.md.
void tuneSpeed(heif_encoder* encoder, int codec) {
  if (codec == whirlpaneHeifAV1) {
    heif_encoder_set_parameter_integer(encoder, "speed", 9);
  } else {
    heif_encoder_set_parameter_string(encoder, "preset", "ultrafast");
  }
}

}  // namespace

extern "C" int whirlpaneHeifCanEncode(int codec) {
  return heif_have_encoder_for_format(formatOf(codec)) ? 1 : 0;
}

extern "C" int whirlpaneHeifEncode(const unsigned char* pixels, int width, int height,
                                   size_t stride, int hasAlpha, int codec, int quality,
                                   unsigned char** out, size_t* outSize, char* error,
                                   size_t errorSize) {
  auto fail = [&](const heif_error& status) {
    std::snprintf(error, errorSize, "%s", status.message ? status.message : "libheif failed");
    return 1;
  };
  Owned<heif_context, heif_context_free> context(heif_context_alloc());
  heif_encoder* rawEncoder = nullptr;
  if (heif_error e =
          heif_context_get_encoder_for_format(context.get(), formatOf(codec), &rawEncoder);
      e.code != heif_error_Ok) {
    return fail(e);
  }
  Owned<heif_encoder, heif_encoder_release> encoder(rawEncoder);
  heif_encoder_set_lossy_quality(encoder.get(), quality);
  tuneSpeed(encoder.get(), codec);

  heif_image* rawImage = nullptr;
  const heif_chroma chroma = hasAlpha ? heif_chroma_interleaved_RGBA : heif_chroma_interleaved_RGB;
  if (heif_error e = heif_image_create(width, height, heif_colorspace_RGB, chroma, &rawImage);
      e.code != heif_error_Ok) {
    return fail(e);
  }
  Owned<heif_image, heif_image_release> image(rawImage);
  if (heif_error e = heif_image_add_plane(image.get(), heif_channel_interleaved, width, height, 8);
      e.code != heif_error_Ok) {
    return fail(e);
  }
  int planeStride = 0;
  uint8_t* plane = heif_image_get_plane(image.get(), heif_channel_interleaved, &planeStride);
  const size_t rowBytes = static_cast<size_t>(width) * (hasAlpha ? 4 : 3);
  for (int y = 0; y < height; ++y) {
    std::memcpy(plane + static_cast<size_t>(y) * static_cast<size_t>(planeStride),
                pixels + static_cast<size_t>(y) * stride, rowBytes);
  }

  Owned<heif_encoding_options, heif_encoding_options_free> options(heif_encoding_options_alloc());
  options->save_alpha_channel = hasAlpha ? 1 : 0;
  heif_image_handle* rawHandle = nullptr;
  if (heif_error e = heif_context_encode_image(context.get(), image.get(), encoder.get(),
                                               options.get(), &rawHandle);
      e.code != heif_error_Ok) {
    return fail(e);
  }
  Owned<heif_image_handle, heif_image_handle_release> handle(rawHandle);

  Sink sink;
  heif_writer writer{};
  writer.writer_api_version = 1;
  writer.write = writeToSink;
  if (heif_error e = heif_context_write(context.get(), &writer, &sink); e.code != heif_error_Ok) {
    return fail(e);
  }
  *out = static_cast<unsigned char*>(std::malloc(sink.bytes.empty() ? 1 : sink.bytes.size()));
  if (!*out) {
    std::snprintf(error, errorSize, "out of memory");
    return 1;
  }
  std::memcpy(*out, sink.bytes.data(), sink.bytes.size());
  *outSize = sink.bytes.size();
  return 0;
}
