// The format normaliser and the text helpers every message goes through.
#include <string_view>

#include "base/unicode.h"
#include "whirlpane/formats.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  try {
    const std::string format = MediaEngine::normalized(text);
    // Whatever it accepts is canonical: normalising again changes nothing.
    if (MediaEngine::normalized(format) != format) __builtin_trap();
  } catch (const MediaEngine::Failure&) {
  }
  MediaEngine::upperCased(text);
  MediaEngine::lowerCased(text);
  const std::string_view inner = MediaEngine::trimmed(text);
  if (inner.size() > text.size()) __builtin_trap();
  for (size_t i = 0; i < text.size(); ++i) {
    if (MediaEngine::lineBreakAt(text.substr(i)) > text.size() - i) __builtin_trap();
  }
  return 0;
}
