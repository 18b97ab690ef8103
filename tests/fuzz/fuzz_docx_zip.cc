// The DOCX reader on arbitrary ZIP bytes: unpacking and reading together.
#include "tests/fuzz/fuzz_support.h"
#include "text/text_extraction.h"
#include "whirlpane/formats.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const auto path = Fuzz::file("fuzz.docx", data, size);
  try {
    MediaEngine::extractText(path);
  } catch (const std::exception&) {
  }
  return 0;
}
