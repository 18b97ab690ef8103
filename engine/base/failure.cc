// SPDX-License-Identifier: GPL-3.0-or-later
#include "whirlpane/failure.h"

#include <new>
#include <system_error>

namespace MediaEngine {
namespace {

std::string messageFor(Failure::Kind kind, const std::string& payload) {
  using Kind = Failure::Kind;
  switch (kind) {
    case Kind::unsupported:
      return payload;
    case Kind::unreadable:
      return "Could not read " + payload + ". The file may be damaged or unsupported.";
    case Kind::encoding:
      return "Could not create the output: " + payload;
    case Kind::exists:
      return payload + " already exists. Choose a different output filename.";
    case Kind::noText:
      return "No readable text was found in this file.";
    case Kind::invalidQuality:
      return "Quality must be a finite number between 0 and 1.";
    case Kind::tooLarge:
      return "This file is too large to process safely at full resolution.";
    case Kind::lockedPDF:
      return "Unlock the PDF before converting it.";
    case Kind::noReduction:
      return "This file could not be made smaller with these settings. The original was kept.";
  }
  return payload;
}

}  // namespace

Failure::Failure(Kind kind, std::string payload)
    : kind_(kind), payload_(std::move(payload)), message_(messageFor(kind_, payload_)) {}

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
