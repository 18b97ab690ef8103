// SPDX-License-Identifier: GPL-3.0-or-later
#include "image/png_chunks.h"

#include <algorithm>
#include <array>
#include <string>
#include <string_view>

#include "base/byte_order.h"

namespace MediaEngine::detail {

std::optional<Bytes> pngWithoutMetadata(std::span<const std::byte> png) {
  static constexpr std::string_view signature("\x89PNG\r\n\x1A\n", 8);
  static constexpr std::array<std::string_view, 15> picture{"IHDR", "PLTE", "IDAT", "IEND", "tRNS",
                                                            "gAMA", "cHRM", "sRGB", "iCCP", "cICP",
                                                            "mDCV", "cLLI", "sBIT", "bKGD", "pHYs"};
  const std::string_view data(reinterpret_cast<const char*>(png.data()), png.size());
  if (!data.starts_with(signature)) return std::nullopt;
  std::string kept(signature);
  for (size_t at = signature.size(); at + 12 <= data.size();) {
    const size_t length = bigEndian<4>(data.data() + at);
    if (length > data.size() - at - 12) return std::nullopt;
    const std::string_view type = data.substr(at + 4, 4);
    if (std::find(picture.begin(), picture.end(), type) != picture.end())
      kept.append(data.substr(at, 12 + length));
    if (type == "IEND") return Bytes::copyOf(kept);
    at += 12 + length;
  }
  return std::nullopt;  // no end chunk
}

}  // namespace MediaEngine::detail
