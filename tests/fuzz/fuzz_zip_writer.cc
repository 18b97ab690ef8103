// The ZIP writer: whatever entries it is given, libzip reads every one back
// exactly.
#include <string>
#include <vector>

#include "office/docx_writer.h"
#include "office/zip_reader.h"
#include "office/zip_writer.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // Up to four entries, their contents cut from the input at 0xFF bytes.
  std::vector<std::string> contents(1);
  for (size_t i = 0; i < size; ++i) {
    if (data[i] == 0xFF && contents.size() < 4) {
      contents.emplace_back();
    } else {
      contents.back().push_back(static_cast<char>(data[i]));
    }
  }
  std::vector<MediaEngine::ZipEntry> entries;
  for (size_t i = 0; i < contents.size(); ++i) {
    entries.push_back(
        {"entry/" + std::to_string(i) + "-\u00e9.bin", std::as_bytes(std::span(contents[i]))});
  }
  const MediaEngine::Bytes archive = MediaEngine::zip(entries);
  const auto path =
      Fuzz::file("round.zip", reinterpret_cast<const uint8_t*>(archive.data()), archive.size());
  for (size_t i = 0; i < contents.size(); ++i) {
    if (MediaEngine::detail::packageMember(path, entries[i].name, 1 << 24) != contents[i])
      __builtin_trap();
  }
  return 0;
}
