#include "image/jpeg_segments.h"

#include "base/byte_order.h"

namespace MediaEngine::detail {

std::optional<std::vector<unsigned char>> jpegWithoutMetadata(std::span<const std::byte> jpeg) {
  const auto* data = reinterpret_cast<const unsigned char*>(jpeg.data());
  const size_t size = jpeg.size();
  if (size < 4 || data[0] != 0xFF || data[1] != 0xD8) return std::nullopt;
  std::vector<unsigned char> out(data, data + 2);
  size_t at = 2;
  bool scanned = false;
  while (at + 2 <= size) {
    if (data[at] != 0xFF) {
      if (!scanned) return std::nullopt;
      out.push_back(data[at++]);  // entropy-coded data between markers
      continue;
    }
    const unsigned char marker = data[at + 1];
    if (marker == 0xFF) {  // fill byte
      ++at;
      continue;
    }
    if (scanned &&
        (marker == 0x00 || (marker >= 0xD0 && marker <= 0xD7))) {  // stuffed byte, restart marker
      out.insert(out.end(), data + at, data + at + 2);
      at += 2;
      continue;
    }
    if (marker == 0xD9) {  // end of image: whatever follows (previews, trailers) is left out
      if (!scanned) return std::nullopt;
      out.insert(out.end(), data + at, data + at + 2);
      return out;
    }
    if (at + 4 > size) return std::nullopt;
    const size_t length = bigEndian<2>(data + at + 2);
    if (length < 2 || at + 2 + length > size) return std::nullopt;
    const bool metadata = (marker >= 0xE1 && marker <= 0xEF && marker != 0xEE) || marker == 0xFE;
    if (!metadata) out.insert(out.end(), data + at, data + at + 2 + length);
    if (marker == 0xDA) scanned = true;
    at += 2 + length;
  }
  return std::nullopt;  // no end of image
}

}  // namespace MediaEngine::detail
