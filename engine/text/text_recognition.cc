// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/text_recognition.h"

#include <cstdlib>
#include <memory>

#include "base/handles.h"
#include "base/plugin.h"
#include "base/translation.h"
#include "modules/ocr_plugin.h"
#include "whirlpane/formats.h"

namespace MediaEngine::detail {
namespace {

struct Plugin {
  decltype(&whirlpaneOcrStart) start = nullptr;
  decltype(&whirlpaneOcrRecognize) recognize = nullptr;
  decltype(&whirlpaneOcrStop) stop = nullptr;
};

const Plugin& plugin() {
  static const Plugin loaded = [] {
    void* library = openPlugin("libwhirlpane-ocr.so");
    Plugin p{pluginSymbol<decltype(whirlpaneOcrStart)>(library, "whirlpaneOcrStart"),
             pluginSymbol<decltype(whirlpaneOcrRecognize)>(library, "whirlpaneOcrRecognize"),
             pluginSymbol<decltype(whirlpaneOcrStop)>(library, "whirlpaneOcrStop")};
    return p.start && p.recognize && p.stop ? p : Plugin{};
  }();
  return loaded;
}

bool isLanguageName(std::string_view name) {
  if (name.empty()) return false;
  for (const char c : name) {
    const bool allowed =
        (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
    if (!allowed) return false;
  }
  return true;
}

// The picture as Tesseract reads it best: one grey channel, anything
// transparent shown on white.
vips::VImage greyOnWhite(const Image& image) {
  vips::VImage pixels = image.pixels();
  if (image.hasAlpha()) pixels = pixels.flatten(vips::VImage::option()->set("background", 255.0));
  return pixels.colourspace(VIPS_INTERPRETATION_B_W).cast(VIPS_FORMAT_UCHAR).copy_memory();
}

}  // namespace

std::string recognitionLanguages() {
  const char* setting = std::getenv("WHIRLPANE_OCR_LANGUAGES");
  if (!setting || !*setting) return "eng";
  const std::string_view languages(setting);
  for (size_t start = 0;;) {
    const size_t plus = languages.find('+', start);
    if (!isLanguageName(languages.substr(start, plus - start))) {
      throw Failure::unsupported(translated(
          "\"%1$s\" is not a list of text-recognition languages such as \"eng\" or \"eng+deu\".",
          {languages}));
    }
    if (plus == std::string_view::npos) break;
    start = plus + 1;
  }
  return std::string(languages);
}

TextRecognizer::TextRecognizer() {
  const std::string languages = recognitionLanguages();
  const Plugin& p = plugin();
  if (!p.start) {
    throw Failure::encoding(translated("text recognition is not installed (libwhirlpane-ocr.so)"));
  }
  char missing[256] = {};
  ocr_ = p.start(languages.c_str(), missing, sizeof missing);
  if (!ocr_) {
    throw Failure::encoding(translated(
        // TRANSLATORS: %1$s is a language in Tesseract's form, such as "deu".
        "no text-recognition data for \"%1$s\" is installed", {missing}));
  }
}

TextRecognizer::~TextRecognizer() { plugin().stop(ocr_); }

std::string TextRecognizer::lines(const Image& image, int dpi) {
  const vips::VImage grey = greyOnWhite(image);
  char* found = nullptr;
  const int failure =
      plugin().recognize(ocr_, static_cast<const unsigned char*>(grey.data()), grey.width(),
                         grey.height(), static_cast<size_t>(grey.width()), dpi, &found);
  if (failure == whirlpaneOcrOutOfMemory) throw Failure::encoding(translated("out of memory"));
  if (failure != 0) throw Failure::encoding(translated("text recognition failed"));
  const Owned<char, ::free> owned(found);
  std::string text(found);
  if (!text.empty()) text.pop_back();  // the last line's line feed
  return text;
}

}  // namespace MediaEngine::detail
