// SPDX-License-Identifier: GPL-3.0-or-later
#include "whirlpane/failure.h"

#include <cerrno>
#include <new>
#include <system_error>

#include "base/translation.h"

namespace MediaEngine {
namespace {

std::string messageFor(Failure::Kind kind, const std::string& payload) {
  using Kind = Failure::Kind;
  switch (kind) {
    case Kind::unsupported:
      return payload;
    case Kind::unreadable:
      // TRANSLATORS: %1$s is a file name, or a short noun such as "PDF page 3".
      return translated("Could not read %1$s. The file may be damaged or unsupported.", {payload});
    case Kind::encoding:
      // TRANSLATORS: %1$s is a short technical reason, translated where it is one of ours.
      return translated("Could not create the output: %1$s", {payload});
    case Kind::exists:
      // TRANSLATORS: %1$s is a file name.
      return translated("%1$s already exists. Choose a different output filename.", {payload});
    case Kind::noText:
      return translated("No readable text was found in this file.");
    case Kind::invalidQuality:
      return translated("Quality must be a finite number between 0 and 1.");
    case Kind::tooLarge:
      return translated("This file is too large to process safely at full resolution.");
    case Kind::lockedPDF:
      return translated("Unlock the PDF before converting it.");
    case Kind::wrongPassword:
      return translated("That password does not open this PDF.");
    case Kind::noReduction:
      return translated(
          "This file could not be made smaller with these settings. The original was kept.");
    case Kind::changed:
      // TRANSLATORS: %1$s is a file name.
      return translated(
          "%1$s changed after it was opened, so nothing was saved. Open it again to use it as it "
          "is now.",
          {payload});
    case Kind::noRoom:
    case Kind::folderNotWritable:
      break;  // made with their message
  }
  return payload;
}

std::string fileMessage(const char* sentence, const std::filesystem::path& path,
                        std::string_view reason) {
  return substituted(translated(sentence), {path.string(), reason});
}

// A folder as the user knows it: its own name, or the whole path for the
// root.
std::string folderName(const std::filesystem::path& folder) {
  std::filesystem::path normal = folder.lexically_normal();
  if (!normal.has_filename() && normal != normal.root_path()) normal = normal.parent_path();
  return normal.has_filename() ? normal.filename().string() : normal.string();
}

}  // namespace

Failure::Failure(Kind kind, std::string payload)
    : kind_(kind), payload_(std::move(payload)), message_(messageFor(kind_, payload_)) {}

Failure::Failure(Kind kind, std::string payload, std::string message)
    : kind_(kind), payload_(std::move(payload)), message_(std::move(message)) {}

Failure Failure::noRoom(const std::filesystem::path& folder, const std::string& fileName) {
  // TRANSLATORS: %1$s is a folder's name, %2$s a file name.
  return {Kind::noRoom, folder.string(),
          translated("There is no room left on the disk holding “%1$s” to save “%2$s”.",
                     {folderName(folder), fileName})};
}

Failure Failure::folderNotWritable(const std::filesystem::path& folder,
                                   const std::string& fileName) {
  // TRANSLATORS: %1$s is a folder's name, %2$s a file name.
  return {Kind::folderNotWritable, folder.string(),
          translated("“%2$s” could not be saved: the folder “%1$s” does not let you save "
                     "files in it.",
                     {folderName(folder), fileName})};
}

std::optional<Failure> savingFailure(int error, const std::filesystem::path& folder,
                                     const std::string& fileName) {
  switch (error) {
    case ENOSPC:
    case EDQUOT:
      return Failure::noRoom(folder, fileName);
    case EACCES:
    case EPERM:
    case EROFS:
      return Failure::folderNotWritable(folder, fileName);
    default:
      return std::nullopt;
  }
}

FileError::FileError(int error, const char* sentence, const std::filesystem::path& path)
    : std::filesystem::filesystem_error(sentence, path,
                                        std::error_code(error, std::generic_category())),
      message_(fileMessage(sentence, path, code().message())) {}

FileError::FileError(int error, const char* sentence, const std::filesystem::path& path,
                     std::string_view reason)
    : std::filesystem::filesystem_error(sentence, path,
                                        std::error_code(error, std::generic_category())),
      message_(fileMessage(sentence, path, reason)) {}

void throwFileError(int error, const char* sentence, const std::filesystem::path& path) {
  throw FileError(error, sentence, path);
}

std::string describe(const std::exception& error) {
  if (dynamic_cast<const std::bad_alloc*>(&error)) {
    return translated("There is not enough memory to complete this file.");
  }
  if (dynamic_cast<const FileError*>(&error)) return error.what();
  if (auto* file = dynamic_cast<const std::filesystem::filesystem_error*>(&error)) {
    // TRANSLATORS: %1$s is the system's reason, %2$s the path it concerns.
    return translated("%1$s: \"%2$s\"", {file->code().message(), file->path1().string()});
  }
  if (auto* system = dynamic_cast<const std::system_error*>(&error))
    return system->code().message();
  return error.what();
}

}  // namespace MediaEngine
