// convert() to PNG on arbitrary bytes, under every extension the engine reads
// by: the first byte picks the extension, the rest is the file.
#include <array>
#include <system_error>

#include "tests/fuzz/fuzz_support.h"
#include "whirlpane/pipeline.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static constexpr std::array<const char*, 11> extensions{
      "jpg", "png", "gif", "tiff", "webp", "heic", "avif", "bmp", "pdf", "txt", "docx"};
  if (size == 0) return 0;
  const auto folder = Fuzz::folder() / "convert";
  std::filesystem::create_directories(folder);
  const std::string name = std::string("in.") + extensions[data[0] % extensions.size()];
  const auto path = Fuzz::file(std::string("convert/") + name, data + 1, size - 1);
  try {
    MediaEngine::convert(path, "png");
  } catch (const std::exception&) {
  }
  std::error_code ignored;
  std::filesystem::remove_all(folder, ignored);
  return 0;
}
