// The DOCX reader on arbitrary XML.
#include "text/text_extraction.h"
#include "whirlpane/formats.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  try {
    MediaEngine::detail::documentText({reinterpret_cast<const char*>(data), size}, "fuzz.docx");
  } catch (const MediaEngine::Failure&) {
  }
  return 0;
}
