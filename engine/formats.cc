#include "engine/formats.h"

#include <glib.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <vector>

namespace MediaEngine {
namespace {

std::string messageFor(Failure::Kind kind, const std::string& payload) {
  using Kind = Failure::Kind;
  switch (kind) {
    case Kind::unsupported:
      return payload;
    case Kind::unreadable:
      return "Could not read " + payload + ". The file may be damaged or unsupported.";
    case Kind::encoding:
      return "Could not create the output: " + payload;
    case Kind::exists:
      return payload + " already exists. Choose a different output filename.";
    case Kind::noText:
      return "No readable text was found in this file.";
    case Kind::invalidQuality:
      return "Quality must be a finite number between 0 and 1.";
    case Kind::tooLarge:
      return "This file is too large to process safely at full resolution.";
    case Kind::lockedPDF:
      return "Unlock the PDF before converting it.";
    case Kind::noReduction:
      return "This file could not be made smaller with these settings. The original was kept.";
  }
  return payload;
}

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

Failure::Failure(Kind kind, std::string payload)
    : kind_(kind), payload_(std::move(payload)), message_(messageFor(kind_, payload_)) {}

const std::map<std::string, std::string, std::less<>>& types() {
  static const std::map<std::string, std::string, std::less<>> table{
      {"jpg", "public.jpeg"},       {"png", "public.png"},   {"webp", "org.webmproject.webp"},
      {"heic", "public.heic"},      {"tiff", "public.tiff"}, {"avif", "public.avif"},
      {"bmp", "com.microsoft.bmp"},
  };
  return table;
}

std::string_view trimmed(std::string_view s) {
  while (size_t n = leadingSpace(s)) s.remove_prefix(n);
  while (size_t n = trailingSpace(s)) s.remove_suffix(n);
  return s;
}

std::string byteCount(long long bytes) {
  if (bytes == 0) return "Zero KB";
  if (bytes < 0) return "-" + byteCount(-bytes);
  if (bytes < 1000) return std::to_string(bytes) + (bytes == 1 ? " byte" : " bytes");
  static constexpr std::array<std::pair<const char*, int>, 6> units{
      {{"KB", 0}, {"MB", 1}, {"GB", 2}, {"TB", 2}, {"PB", 2}, {"EB", 2}}};
  double value = static_cast<double>(bytes) / 1000.0;
  size_t unit = 0;
  for (;;) {
    const double scale = std::pow(10.0, units[unit].second);
    const double rounded = std::round(value * scale) / scale;
    if (rounded < 1000.0 || unit + 1 == units.size()) {
      char text[32];
      std::snprintf(text, sizeof text, "%.*f", units[unit].second, rounded);
      std::string shown(text);
      if (shown.find('.') != std::string::npos) {
        while (shown.back() == '0') shown.pop_back();
        if (shown.back() == '.') shown.pop_back();
      }
      return shown + " " + units[unit].first;
    }
    value /= 1000.0;
    ++unit;
  }
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

bool isRaster(std::string_view format) { return types().contains(format); }

std::string lowerExtension(const std::filesystem::path& path) {
  std::string ext = path.extension().string();
  if (!ext.empty()) ext.erase(0, 1);
  for (char& c : ext) c = g_ascii_tolower(c);
  return ext;
}

std::string upperCased(std::string_view format) { return mapCase(format, /*upper=*/true); }

std::string normalized(std::string_view format) {
  std::string name = mapCase(trimmed(format), /*upper=*/false);
  if (name.starts_with('.')) name.erase(0, 1);
  static constexpr std::array<std::pair<std::string_view, std::string_view>, 3> aliases{
      {{"jpeg", "jpg"}, {"tif", "tiff"}, {"heif", "heic"}}};
  for (const auto& [alias, canonical] : aliases) {
    if (name == alias) name = canonical;
  }
  if (isRaster(name) || name == "pdf" || name == "docx" || name == "txt") return name;
  throw Failure::unsupported(mapCase(format, /*upper=*/true) +
                             " is not a supported output format.");
}

}  // namespace MediaEngine
