// SPDX-License-Identifier: GPL-3.0-or-later
// Unsigned integers as file formats store them: least significant byte first
// (BMP, RIFF, ZIP) or most significant first (PNG, JPEG). Reads from bytes the
// caller has checked are there. Internal to the engine; any thread.
#pragma once

#include <cstddef>
#include <cstdint>

namespace MediaEngine {

// The `Size`-byte integer at `at`, least significant byte first.
template <size_t Size, typename Byte>
uint32_t littleEndian(const Byte* at) {
  static_assert(Size >= 1 && Size <= 4 && sizeof(Byte) == 1);
  uint32_t value = 0;
  for (size_t i = Size; i-- > 0;) value = value << 8 | static_cast<uint8_t>(at[i]);
  return value;
}

// The `Size`-byte integer at `at`, most significant byte first.
template <size_t Size, typename Byte>
uint32_t bigEndian(const Byte* at) {
  static_assert(Size >= 1 && Size <= 4 && sizeof(Byte) == 1);
  uint32_t value = 0;
  for (size_t i = 0; i < Size; ++i) value = value << 8 | static_cast<uint8_t>(at[i]);
  return value;
}

}  // namespace MediaEngine
