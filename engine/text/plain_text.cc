// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/plain_text.h"

#include <glib.h>

#include <array>
#include <cerrno>
#include <optional>

#include "base/byte_order.h"
#include "base/translation.h"
#include "whirlpane/failure.h"

namespace MediaEngine::detail {
namespace {

// Windows-1252's 0x80 to 0x9F; 0 marks the five bytes it leaves undefined.
// The rest of the upper half maps to the code point of the same number.
constexpr std::array<char32_t, 32> windows1252High{
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

void append(std::string& text, char32_t c) {
  char encoded[6];
  text.append(encoded, static_cast<size_t>(g_unichar_to_utf8(static_cast<gunichar>(c), encoded)));
}

bool isScalar(char32_t c) { return c != 0 && c <= 0x10FFFF && (c < 0xD800 || c > 0xDFFF); }

// Code unit `index` of `Width` bytes, in the given byte order, from `units`.
template <size_t Width>
char32_t unitAt(std::span<const std::byte> units, size_t index, bool isBigEndian) {
  const std::byte* at = units.data() + index * Width;
  return isBigEndian ? bigEndian<Width>(at) : littleEndian<Width>(at);
}

std::optional<std::string> fromUTF32(std::span<const std::byte> units, bool isBigEndian) {
  if (units.size() % 4 != 0) return std::nullopt;
  std::string text;
  text.reserve(units.size() / 2);
  for (size_t i = 0; i < units.size() / 4; ++i) {
    const char32_t c = unitAt<4>(units, i, isBigEndian);
    if (!isScalar(c)) return std::nullopt;
    append(text, c);
  }
  return text;
}

std::optional<std::string> fromUTF16(std::span<const std::byte> units, bool isBigEndian) {
  if (units.size() % 2 != 0) return std::nullopt;
  const size_t count = units.size() / 2;
  std::string text;
  text.reserve(units.size());
  for (size_t i = 0; i < count; ++i) {
    char32_t c = unitAt<2>(units, i, isBigEndian);
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < count) {
      const char32_t low = unitAt<2>(units, i + 1, isBigEndian);
      if (low >= 0xDC00 && low <= 0xDFFF) {
        c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
        ++i;
      }
    }
    if (!isScalar(c)) return std::nullopt;  // a lone surrogate or NUL
    append(text, c);
  }
  return text;
}

std::optional<std::string> fromUTF8(std::span<const std::byte> bytes) {
  const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  if (!g_utf8_validate_len(text.data(), text.size(), nullptr))
    return std::nullopt;  // NUL fails too
  return std::string(text);
}

std::optional<std::string> fromWindows1252(std::span<const std::byte> bytes) {
  std::string text;
  text.reserve(bytes.size() + bytes.size() / 8);
  for (const std::byte b : bytes) {
    const auto c = static_cast<unsigned char>(b);
    if (c == 0) return std::nullopt;
    if (c < 0x80) {
      text.push_back(static_cast<char>(c));
    } else if (c < 0xA0) {
      if (windows1252High[c - 0x80] == 0) return std::nullopt;
      append(text, windows1252High[c - 0x80]);
    } else {
      append(text, c);
    }
  }
  return text;
}

bool startsWith(std::span<const std::byte> bytes, std::initializer_list<unsigned char> mark) {
  if (bytes.size() < mark.size()) return false;
  size_t i = 0;
  for (const unsigned char m : mark) {
    if (static_cast<unsigned char>(bytes[i++]) != m) return false;
  }
  return true;
}

std::optional<std::string> decode(std::span<const std::byte> bytes) {
  if (startsWith(bytes, {0xEF, 0xBB, 0xBF})) return fromUTF8(bytes.subspan(3));
  // UTF-32's little-endian mark begins with UTF-16's; a UTF-16 text that
  // starts with U+0000 after its mark would be no text anyway.
  if (startsWith(bytes, {0xFF, 0xFE, 0x00, 0x00}))
    return fromUTF32(bytes.subspan(4), /*bigEndian=*/false);
  if (startsWith(bytes, {0x00, 0x00, 0xFE, 0xFF}))
    return fromUTF32(bytes.subspan(4), /*bigEndian=*/true);
  if (startsWith(bytes, {0xFF, 0xFE})) return fromUTF16(bytes.subspan(2), /*bigEndian=*/false);
  if (startsWith(bytes, {0xFE, 0xFF})) return fromUTF16(bytes.subspan(2), /*bigEndian=*/true);
  if (auto text = fromUTF8(bytes)) return text;
  return fromWindows1252(bytes);
}

}  // namespace

std::string decodedText(std::span<const std::byte> bytes, const std::filesystem::path& path) {
  std::optional<std::string> text = decode(bytes);
  if (!text) {
    throw FileError(EILSEQ, "Could not read \"%1$s\": %2$s", path,
                    translated("the file does not hold text in an encoding Whirlpane knows"));
  }
  return std::move(*text);
}

}  // namespace MediaEngine::detail
