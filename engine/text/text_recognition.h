// SPDX-License-Identifier: GPL-3.0-or-later
// Text recognition (OCR) of decoded pictures, through Tesseract's LSTM engine
// in libwhirlpane-ocr.so, which is loaded on first use. Internal to the engine;
// text_extraction.h holds the operations callers use.
//
// Languages: English unless the environment variable WHIRLPANE_OCR_LANGUAGES
// names others in Tesseract's form ("deu", "eng+fra"); each needs its
// tesseract-ocr-<language> data package.
//
// Thread safety: a TextRecognizer serves one thread at a time; any number may
// exist at once.
#pragma once

#include <string>

#include "image/image.h"

struct WhirlpaneOcr;

namespace MediaEngine::detail {

// The languages recognition uses: WHIRLPANE_OCR_LANGUAGES when set and not
// empty, otherwise "eng". Throws Failure::unsupported for a value that is not a
// list of language names joined by "+".
std::string recognitionLanguages();

class TextRecognizer {
 public:
  // Loads the recogniser and its language data (a few tenths of a second).
  // Throws Failure::encoding when recognition is not installed or a language's
  // data is missing.
  TextRecognizer();
  ~TextRecognizer();
  TextRecognizer(const TextRecognizer&) = delete;
  TextRecognizer& operator=(const TextRecognizer&) = delete;

  // The lines of text found in `image`, in reading order, joined by line
  // feeds; empty when there are none. `dpi` is the scan resolution, 0 when
  // unknown. Throws Failure::encoding when recognition fails.
  std::string lines(const Image& image, int dpi = 0);

 private:
  WhirlpaneOcr* ocr_;
};

}  // namespace MediaEngine::detail
