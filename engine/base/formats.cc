// SPDX-License-Identifier: GPL-3.0-or-later
#include "whirlpane/formats.h"

#include <glib.h>

#include <array>

#include "base/translation.h"
#include "base/unicode.h"

namespace MediaEngine {

const std::map<std::string, std::string, std::less<>>& types() {
  static const std::map<std::string, std::string, std::less<>> table{
      {"jpg", "public.jpeg"},       {"png", "public.png"},   {"webp", "org.webmproject.webp"},
      {"heic", "public.heic"},      {"tiff", "public.tiff"}, {"avif", "public.avif"},
      {"bmp", "com.microsoft.bmp"},
  };
  return table;
}

bool isRaster(std::string_view format) { return types().contains(format); }

std::string lowerExtension(const std::filesystem::path& path) {
  std::string ext = path.extension().string();
  if (!ext.empty()) ext.erase(0, 1);
  for (char& c : ext) c = g_ascii_tolower(c);
  return ext;
}

std::string normalized(std::string_view format) {
  std::string name = lowerCased(trimmed(format));
  if (name.starts_with('.')) name.erase(0, 1);
  static constexpr std::array<std::pair<std::string_view, std::string_view>, 3> aliases{
      {{"jpeg", "jpg"}, {"tif", "tiff"}, {"heif", "heic"}}};
  for (const auto& [alias, canonical] : aliases) {
    if (name == alias) name = canonical;
  }
  if (isRaster(name) || name == "pdf" || name == "docx" || name == "txt") return name;
  throw Failure::unsupported(
      translated("%1$s is not a supported output format.", {upperCased(format)}));
}

}  // namespace MediaEngine
