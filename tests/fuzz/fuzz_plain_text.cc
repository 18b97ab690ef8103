// Plain-text decoding: anything it accepts comes out as valid UTF-8.
#include <glib.h>

#include "text/plain_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  try {
    const std::string text = MediaEngine::detail::decodedText(
        {reinterpret_cast<const std::byte*>(data), size}, "fuzz.txt");
    if (!g_utf8_validate_len(text.data(), text.size(), nullptr)) __builtin_trap();
  } catch (const std::exception&) {
  }
  return 0;
}
