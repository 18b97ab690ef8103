#include "whirlpane/file_error.h"

#include <new>
#include <system_error>

namespace MediaEngine {

FileError::FileError(int error, std::string action, const std::filesystem::path& path)
    : std::filesystem::filesystem_error(action, path,
                                        std::error_code(error, std::generic_category())),
      message_(std::move(action) + " \"" + path.string() + "\": " + code().message()) {}

FileError::FileError(int error, std::string action, const std::filesystem::path& path,
                     std::string_view reason)
    : std::filesystem::filesystem_error(action, path,
                                        std::error_code(error, std::generic_category())),
      message_(std::move(action) + " \"" + path.string() + "\": " + std::string(reason)) {}

void throwFileError(int error, std::string action, const std::filesystem::path& path) {
  throw FileError(error, std::move(action), path);
}

std::string describe(const std::exception& error) {
  if (dynamic_cast<const std::bad_alloc*>(&error)) {
    return "There is not enough memory to complete this file.";
  }
  if (dynamic_cast<const FileError*>(&error)) return error.what();
  if (auto* file = dynamic_cast<const std::filesystem::filesystem_error*>(&error)) {
    return file->code().message() + ": \"" + file->path1().string() + "\"";
  }
  if (auto* system = dynamic_cast<const std::system_error*>(&error))
    return system->code().message();
  return error.what();
}

}  // namespace MediaEngine
