// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/unicode.h"

#include <glib.h>

#include <algorithm>

namespace MediaEngine {
namespace {

bool isSpaceOrNewline(gunichar u) {
  if ((u >= 0x09 && u <= 0x0D) || u == 0x85) return true;
  const GUnicodeType type = g_unichar_type(u);
  return type == G_UNICODE_SPACE_SEPARATOR || type == G_UNICODE_LINE_SEPARATOR ||
         type == G_UNICODE_PARAGRAPH_SEPARATOR;
}

// Length in bytes of the white space or line break that starts `s`, or 0.
// Bytes that are not valid UTF-8 are never taken for white space.
size_t leadingSpace(std::string_view s) {
  if (s.empty()) return 0;
  const gunichar u = g_utf8_get_char_validated(s.data(), static_cast<gssize>(s.size()));
  if (u == static_cast<gunichar>(-1) || u == static_cast<gunichar>(-2)) return 0;
  if (!isSpaceOrNewline(u)) return 0;
  return static_cast<size_t>(g_utf8_next_char(s.data()) - s.data());
}

// Length in bytes of the white space or line break that ends `s`, or 0.
size_t trailingSpace(std::string_view s) {
  for (size_t back = 1; back <= std::min<size_t>(4, s.size()); ++back) {
    const size_t start = s.size() - back;
    if ((static_cast<unsigned char>(s[start]) & 0xC0) == 0x80) continue;  // inside a character
    return leadingSpace(s.substr(start)) == back ? back : 0;
  }
  return 0;
}

// Unicode default case mapping where the text is valid UTF-8; byte-wise ASCII
// mapping otherwise, so that no input is ever rejected for its encoding alone.
std::string mapCase(std::string_view s, bool upper) {
  if (g_utf8_validate(s.data(), static_cast<gssize>(s.size()), nullptr)) {
    gchar* mapped = upper ? g_utf8_strup(s.data(), static_cast<gssize>(s.size()))
                          : g_utf8_strdown(s.data(), static_cast<gssize>(s.size()));
    std::string result(mapped);
    g_free(mapped);
    return result;
  }
  std::string result(s);
  for (char& c : result) c = upper ? g_ascii_toupper(c) : g_ascii_tolower(c);
  return result;
}

}  // namespace

std::string_view trimmed(std::string_view s) {
  while (size_t n = leadingSpace(s)) s.remove_prefix(n);
  while (size_t n = trailingSpace(s)) s.remove_suffix(n);
  return s;
}

size_t lineBreakAt(std::string_view s) {
  if (s.empty()) return 0;
  if (s.starts_with("\r\n")) return 2;
  const auto c = static_cast<unsigned char>(s[0]);
  if (c >= 0x0A && c <= 0x0D) return 1;
  if (s.starts_with("\xC2\x85")) return 2;
  if (s.starts_with("\xE2\x80\xA8") || s.starts_with("\xE2\x80\xA9")) return 3;
  return 0;
}

std::string lowerCased(std::string_view text) { return mapCase(text, /*upper=*/false); }

std::string upperCased(std::string_view format) { return mapCase(format, /*upper=*/true); }

std::string firstCharacters(std::string_view text, size_t limit) {
  size_t end = 0;
  for (size_t n = 0; n < limit && end < text.size(); ++n) {
    const char* at = text.data() + end;
    const gunichar c = g_utf8_get_char_validated(at, static_cast<gssize>(text.size() - end));
    const bool valid = c != static_cast<gunichar>(-1) && c != static_cast<gunichar>(-2);
    end += valid ? static_cast<size_t>(g_utf8_next_char(at) - at) : 1;
  }
  return std::string(text.substr(0, end));
}

std::string_view firstBytes(std::string_view text, size_t limit) {
  size_t end = 0;
  while (end < text.size()) {
    const char* at = text.data() + end;
    const gunichar c = g_utf8_get_char_validated(at, static_cast<gssize>(text.size() - end));
    const bool valid = c != static_cast<gunichar>(-1) && c != static_cast<gunichar>(-2);
    const size_t next = end + (valid ? static_cast<size_t>(g_utf8_next_char(at) - at) : 1);
    if (next > limit) break;
    end = next;
  }
  return text.substr(0, end);
}

std::string madeValid(std::string_view bytes) {
  const std::string_view text = bytes.substr(0, bytes.find('\0'));
  gchar* valid = g_utf8_make_valid(text.data(), static_cast<gssize>(text.size()));
  std::string result(valid);
  g_free(valid);
  return result;
}

}  // namespace MediaEngine
