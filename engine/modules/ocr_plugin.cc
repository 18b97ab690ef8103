// SPDX-License-Identifier: GPL-3.0-or-later
// libwhirlpane-ocr.so: text recognition with Tesseract. See ocr_plugin.h.
#include "modules/ocr_plugin.h"

#include <leptonica/allheaders.h>
#include <omp.h>
#include <tesseract/baseapi.h>
#include <tesseract/resultiterator.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

struct WhirlpaneOcr {
  tesseract::TessBaseAPI api;
};

namespace {

void setMissing(char* missing, size_t size, const std::string& language) {
  if (size == 0) return;
  std::snprintf(missing, size, "%s", language.c_str());
}

// Tesseract and Leptonica report progress, resolution guesses and warnings on
// standard error; the engine reports what matters through its own failures.
void silenceLibraries() {
  static std::once_flag once;
  std::call_once(once, [] { setMsgSeverity(L_SEVERITY_NONE); });
}

bool isBlank(const char* line) {
  for (; *line; ++line) {
    if (*line != ' ' && *line != '\t' && *line != '\n' && *line != '\r') return false;
  }
  return true;
}

}  // namespace

extern "C" {

WhirlpaneOcr* whirlpaneOcrStart(const char* languages, char* missing, size_t missingSize) {
  silenceLibraries();
  auto ocr = std::make_unique<WhirlpaneOcr>();
  // Set before Init so that the messages of loading, a missing language among
  // them, go nowhere.
  ocr->api.SetVariable("debug_file", "/dev/null");
  if (ocr->api.Init(nullptr, languages, tesseract::OEM_LSTM_ONLY) != 0) {
    setMissing(missing, missingSize, languages);
    return nullptr;
  }
  // Init succeeds when any one of the languages loads; every one must.
  std::vector<std::string> loaded;
  ocr->api.GetLoadedLanguagesAsVector(&loaded);
  const std::string_view requested(languages);
  for (size_t start = 0; start <= requested.size();) {
    const size_t end = std::min(requested.find('+', start), requested.size());
    const std::string language(requested.substr(start, end - start));
    if (!language.empty() && std::find(loaded.begin(), loaded.end(), language) == loaded.end()) {
      setMissing(missing, missingSize, language);
      return nullptr;
    }
    start = end + 1;
  }
  ocr->api.SetPageSegMode(tesseract::PSM_AUTO);
  return ocr.release();
}

int whirlpaneOcrRecognize(WhirlpaneOcr* ocr, const unsigned char* grey, int width, int height,
                          size_t stride, int dpi, char** text) {
  // Tesseract asks OpenMP for four threads in places, and on a small machine
  // those cost far more than they give (a page took 11.7 s with them against
  // 1.3 s without); the engine recognises pages side by side instead, one
  // thread each. Allowing no active parallel level on this thread makes every
  // parallel region here run on it alone.
  omp_set_max_active_levels(0);
  tesseract::TessBaseAPI& api = ocr->api;
  api.SetImage(grey, width, height, 1, static_cast<int>(stride));
  if (dpi > 0) api.SetSourceResolution(dpi);
  if (api.Recognize(nullptr) != 0) {
    api.Clear();
    return whirlpaneOcrFailed;
  }
  std::string lines;
  if (std::unique_ptr<tesseract::ResultIterator> it{api.GetIterator()};
      it && !it->Empty(tesseract::RIL_TEXTLINE)) {
    do {
      const std::unique_ptr<char[]> line{it->GetUTF8Text(tesseract::RIL_TEXTLINE)};
      if (!line || isBlank(line.get())) continue;
      std::string_view kept(line.get());
      while (!kept.empty() && (kept.back() == '\n' || kept.back() == ' ')) kept.remove_suffix(1);
      lines.append(kept);
      lines.push_back('\n');
    } while (it->Next(tesseract::RIL_TEXTLINE));
  }
  api.Clear();
  *text = static_cast<char*>(std::malloc(lines.size() + 1));
  if (!*text) return whirlpaneOcrOutOfMemory;
  std::memcpy(*text, lines.c_str(), lines.size() + 1);
  return 0;
}

void whirlpaneOcrStop(WhirlpaneOcr* ocr) { delete ocr; }
}
