// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer targets: each program is this file built with FUZZ_TARGET naming
// the function it feeds, which traps on a broken promise.
#include <glib.h>
#include <unistd.h>

#include <array>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "base/unicode.h"
#include "files/output_placement.h"
#include "image/codec_runtime.h"
#include "image/image_decoding.h"
#include "office/zip_reader.h"
#include "office/zip_writer.h"
#include "text/plain_text.h"
#include "text/text_extraction.h"
#include "whirlpane/formats.h"
#include "whirlpane/pipeline.h"

namespace FuzzTargets {

namespace fs = std::filesystem;
using Input = std::string_view;

// This process's own folder, made with the engine started on first use.
const fs::path& folder() {
  static const fs::path path = [] {
    const fs::path made =
        fs::temp_directory_path() / ("whirlpane-fuzz-" + std::to_string(::getpid()));
    fs::create_directories(made);
    MediaEngine::detail::startImageLibrary();
    MediaEngine::detail::loadHeifDecoder();
    return made;
  }();
  return path;
}

fs::path file(const std::string& name, Input data) {
  const fs::path path = folder() / name;
  std::ofstream(path, std::ios::binary)
      .write(data.data(), static_cast<std::streamsize>(data.size()));
  return path;
}

// Runs `action`, passing over the failures of type `Expected` it throws.
template <typename Expected = std::exception, typename Action>
void tolerating(Action action) {
  try {
    action();
  } catch (const Expected&) {
  }
}

void formats(Input text) {
  tolerating<MediaEngine::Failure>([&] {
    const std::string format = MediaEngine::normalized(text);
    if (MediaEngine::normalized(format) != format) __builtin_trap();  // canonical: a fixed point
  });
  MediaEngine::upperCased(text);
  MediaEngine::lowerCased(text);
  if (MediaEngine::trimmed(text).size() > text.size()) __builtin_trap();
  for (size_t i = 0; i < text.size(); ++i) {
    if (MediaEngine::lineBreakAt(text.substr(i)) > text.size() - i) __builtin_trap();
  }
}

// Any suffix and extension (split at the first NUL) name a child of the
// source's own folder.
void unique_sibling(Input input) {
  const size_t cut = input.find('\0');
  const Input ext = cut == Input::npos ? Input() : input.substr(cut + 1);
  tolerating([&] {
    const auto name = MediaEngine::uniqueSibling(folder() / "photo.jpg", input.substr(0, cut), ext);
    if (name.parent_path() != folder()) __builtin_trap();
  });
}

void docx_xml(Input xml) {
  tolerating<MediaEngine::Failure>([&] { MediaEngine::detail::documentText(xml, "fuzz.docx"); });
}

void docx_zip(Input bytes) {
  tolerating([&] { MediaEngine::extractText(file("fuzz.docx", bytes)); });
}

// Up to four entries, cut from the input at 0xFF bytes: libzip reads each
// back exactly.
void zip_writer(Input input) {
  std::vector<std::string> contents(1);
  for (const char c : input) {
    if (c == '\xFF' && contents.size() < 4) {
      contents.emplace_back();
    } else {
      contents.back() += c;
    }
  }
  std::vector<MediaEngine::ZipEntry> entries;
  for (size_t i = 0; i < contents.size(); ++i)
    entries.push_back(
        {"entry/" + std::to_string(i) + "-\u00e9.bin", std::as_bytes(std::span(contents[i]))});
  const fs::path path = file("round.zip", MediaEngine::zip(entries).text());
  for (size_t i = 0; i < contents.size(); ++i) {
    if (MediaEngine::detail::packageMember(path, entries[i].name, 1 << 24) != contents[i])
      __builtin_trap();
  }
}

void bmp(Input bytes) {
  tolerating([&] {
    if (const auto source = MediaEngine::ImageSource::open(file("fuzz.bmp", bytes)))
      source->decode();
  });
}

// Whatever it accepts comes out as valid UTF-8.
void plain_text(Input bytes) {
  tolerating([&] {
    const std::string text =
        MediaEngine::detail::decodedText(std::as_bytes(std::span(bytes)), "fuzz.txt");
    if (!g_utf8_validate_len(text.data(), text.size(), nullptr)) __builtin_trap();
  });
}

// To PNG under every extension the engine reads by: the first byte picks it.
void convert(Input input) {
  static constexpr std::array<const char*, 11> extensions{
      "jpg", "png", "gif", "tiff", "webp", "heic", "avif", "bmp", "pdf", "txt", "docx"};
  if (input.empty()) return;
  fs::create_directories(folder() / "convert");
  const std::string name =
      std::string("convert/in.") + extensions[static_cast<uint8_t>(input[0]) % extensions.size()];
  tolerating([&] { MediaEngine::convert(file(name, input.substr(1)), "png"); });
  std::error_code ignored;
  fs::remove_all(folder() / "convert", ignored);
}

}  // namespace FuzzTargets

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FUZZ_TARGET({reinterpret_cast<const char*>(data), size});
  return 0;
}
