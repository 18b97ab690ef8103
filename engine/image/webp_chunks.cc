// SPDX-License-Identifier: GPL-3.0-or-later
#include "image/webp_chunks.h"

#include <cstring>
#include <string>

#include "base/byte_order.h"

namespace MediaEngine::detail {

std::optional<Bytes> webpWithoutMetadata(std::span<const std::byte> webp, bool keepProfile) {
  const auto* data = reinterpret_cast<const unsigned char*>(webp.data());
  const size_t size = webp.size();
  if (size < 12 || std::memcmp(data, "RIFF", 4) != 0 || std::memcmp(data + 8, "WEBP", 4) != 0)
    return std::nullopt;
  std::string kept(reinterpret_cast<const char*>(data), 12);
  for (size_t at = 12; at < size;) {
    if (at + 8 > size) return std::nullopt;
    const size_t length = littleEndian<4>(data + at + 4);
    const size_t whole = 8 + length + (length & 1);
    if (whole > size - at) return std::nullopt;
    const std::string_view fourCC(reinterpret_cast<const char*>(data + at), 4);
    if (fourCC != "EXIF" && fourCC != "XMP " && (keepProfile || fourCC != "ICCP"))
      kept.append(reinterpret_cast<const char*>(data + at), whole);
    at += whole;
  }
  // The extended header's flags: ICC profile 0x20, EXIF 0x08, XMP 0x04.
  if (kept.size() >= 21 && kept.compare(12, 4, "VP8X") == 0)
    kept[20] = static_cast<char>(kept[20] & ~(keepProfile ? 0x0C : 0x2C));
  const size_t riff = kept.size() - 8;
  for (int i = 0; i < 4; ++i) kept[4 + i] = static_cast<char>((riff >> (8 * i)) & 0xFF);
  return Bytes::copyOf(kept);
}

}  // namespace MediaEngine::detail
