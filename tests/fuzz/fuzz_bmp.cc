// The BMP reader: header check and decoding.
#include "image/image_decoding.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const auto path = Fuzz::file("fuzz.bmp", data, size);
  try {
    if (const auto source = MediaEngine::ImageSource::open(path)) source->decode();
  } catch (const std::exception&) {
  }
  return 0;
}
