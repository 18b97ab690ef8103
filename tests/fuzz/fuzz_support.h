// Shared by the fuzz targets: a private folder for files a target must write,
// and the engine started once.
#pragma once

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string_view>

#include "image/codec_runtime.h"

namespace Fuzz {

// A folder of this process's own, made on first use.
inline const std::filesystem::path& folder() {
  static const std::filesystem::path path = [] {
    auto p =
        std::filesystem::temp_directory_path() / ("whirlpane-fuzz-" + std::to_string(::getpid()));
    std::filesystem::create_directories(p);
    MediaEngine::detail::startImageLibrary();
    MediaEngine::detail::loadHeifDecoder();
    return p;
  }();
  return path;
}

// Writes `data` to `name` in folder() and returns its path.
inline std::filesystem::path file(std::string_view name, const uint8_t* data, size_t size) {
  const auto path = folder() / name;
  std::ofstream(path, std::ios::binary | std::ios::trunc)
      .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  return path;
}

}  // namespace Fuzz
