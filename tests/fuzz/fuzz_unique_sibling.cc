// uniqueSibling with arbitrary suffix and extension bytes: the name it gives
// is always a child of the source's own folder.
#include "files/output_placement.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const size_t cut = input.find('\0');
  const std::string_view suffix = input.substr(0, cut);
  const std::string_view ext =
      cut == std::string_view::npos ? std::string_view() : input.substr(cut + 1);
  const auto source = Fuzz::folder() / "photo.jpg";
  try {
    const auto sibling = MediaEngine::uniqueSibling(source, suffix, ext);
    if (sibling.parent_path() != Fuzz::folder()) __builtin_trap();
  } catch (const std::exception&) {
  }
  return 0;
}
