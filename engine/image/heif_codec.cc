// SPDX-License-Identifier: GPL-3.0-or-later
#include "image/heif_codec.h"

#include <cstdlib>

#include "base/plugin.h"
#include "modules/heif_plugin.h"

namespace MediaEngine::detail {
namespace {

struct Plugin {
  decltype(&whirlpaneHeifCanEncode) canEncode = nullptr;
  decltype(&whirlpaneHeifEncode) encode = nullptr;
};

const Plugin& plugin() {
  static const Plugin loaded = [] {
    void* library = openPlugin("libwhirlpane-heif.so");
    Plugin p{pluginSymbol<decltype(whirlpaneHeifCanEncode)>(library, "whirlpaneHeifCanEncode"),
             pluginSymbol<decltype(whirlpaneHeifEncode)>(library, "whirlpaneHeifEncode")};
    return p.canEncode && p.encode ? p : Plugin{};
  }();
  return loaded;
}

int codecNumber(HeifCodec codec) {
  return codec == HeifCodec::av1 ? whirlpaneHeifAV1 : whirlpaneHeifHEVC;
}

}  // namespace

bool heifCanEncode(HeifCodec codec) {
  const Plugin& p = plugin();
  return p.canEncode && p.canEncode(codecNumber(codec)) != 0;
}

std::optional<Bytes> encodeHeif(const Image& image, HeifCodec codec, int quality) {
  const Plugin& p = plugin();
  if (!p.encode) return std::nullopt;
  const vips::VImage& pixels = image.pixels();
  unsigned char* out = nullptr;
  size_t size = 0;
  char error[256] = {};
  const size_t stride = static_cast<size_t>(pixels.width()) * static_cast<size_t>(pixels.bands());
  if (p.encode(static_cast<const unsigned char*>(pixels.data()), pixels.width(), pixels.height(),
               stride, image.hasAlpha() ? 1 : 0, codecNumber(codec), quality, &out, &size, error,
               sizeof error) != 0) {
    return std::nullopt;
  }
  return Bytes::adopt(out, size, std::free);
}

}  // namespace MediaEngine::detail
