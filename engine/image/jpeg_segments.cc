// SPDX-License-Identifier: GPL-3.0-or-later
#include "image/jpeg_segments.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "base/byte_order.h"

namespace MediaEngine::detail {

std::optional<std::vector<unsigned char>> jpegWithoutMetadata(std::span<const std::byte> jpeg,
                                                              bool keepProfile) {
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
    const bool profile =
        marker == 0xE2 && length >= 14 && std::memcmp(data + at + 4, "ICC_PROFILE", 12) == 0;
    const bool metadata =
        (marker >= 0xE1 && marker <= 0xEF && marker != 0xEE && !(keepProfile && profile)) ||
        marker == 0xFE;
    if (!metadata) out.insert(out.end(), data + at, data + at + 2 + length);
    if (marker == 0xDA) scanned = true;
    at += 2 + length;
  }
  return std::nullopt;  // no end of image
}

std::vector<unsigned char> withResolution(std::vector<unsigned char> jpeg, double xres,
                                          double yres) {
  auto dotsPerInch = [](double perMillimetre) {
    return static_cast<unsigned>(std::clamp(std::lround(perMillimetre * 25.4), 1L, 65535L));
  };
  const unsigned across = dotsPerInch(xres), down = dotsPerInch(yres);
  const unsigned char density[] = {
      1,  // unit: dots per inch
      static_cast<unsigned char>(across >> 8), static_cast<unsigned char>(across & 0xFF),
      static_cast<unsigned char>(down >> 8), static_cast<unsigned char>(down & 0xFF)};
  const size_t size = jpeg.size();
  if (size < 4 || jpeg[0] != 0xFF || jpeg[1] != 0xD8) return jpeg;
  for (size_t at = 2; at + 4 <= size && jpeg[at] == 0xFF;) {
    const unsigned char marker = jpeg[at + 1];
    const size_t length = bigEndian<2>(jpeg.data() + at + 2);
    if (marker == 0xDA || marker == 0xD9 || length < 2 || at + 2 + length > size) break;
    const unsigned char* body = jpeg.data() + at + 4;
    if (marker == 0xE0 && length >= 16 && std::memcmp(body, "JFIF", 5) == 0) {
      if (body[7] == 0) std::copy(std::begin(density), std::end(density), jpeg.begin() + at + 11);
      return jpeg;
    }
    if (marker == 0xEE && length >= 7 && std::memcmp(body, "Adobe", 5) == 0) return jpeg;
    at += 2 + length;
  }
  // APP0, length 16, "JFIF\0", version 1.01, the density, no thumbnail.
  std::vector<unsigned char> jfif = {0xFF, 0xE0, 0, 16, 'J', 'F', 'I', 'F', 0, 1, 1};
  jfif.insert(jfif.end(), std::begin(density), std::end(density));
  jfif.insert(jfif.end(), {0, 0});
  jpeg.insert(jpeg.begin() + 2, jfif.begin(), jfif.end());
  return jpeg;
}

}  // namespace MediaEngine::detail
