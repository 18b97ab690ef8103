// SPDX-License-Identifier: GPL-3.0-or-later
// The engine's failures. Its own conditions are one exception type, Failure,
// with a kind and a fixed user-facing message; file-system and process errors
// travel as FileError, a std::filesystem::filesystem_error (so a
// std::system_error with the errno) whose what() names what failed, the path
// and the system's reason. describe() gives the text a user sees for either.
// Every such text is in the user's language, as the process's locale (its
// LC_MESSAGES category and LANGUAGE) named it when the failure was made, and
// in English under the C locale.
//
// Thread safety: failures are immutable values, and describe() keeps no
// state; any thread may make, copy, read and describe them.
#pragma once

#include <exception>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace MediaEngine {

// The engine's own failure conditions. what() is the user-facing message, worded
// exactly as the user sees it, with no prefix added by callers.
class Failure : public std::exception {
 public:
  enum class Kind {
    unsupported,  // payload: the complete message
    unreadable,   // payload: a file name or a short noun
    encoding,     // payload: a short technical detail
    exists,       // payload: a file name
    noText,
    invalidQuality,
    tooLarge,
    lockedPDF,
    wrongPassword,
    noReduction,
    changed,            // payload: a file name
    noRoom,             // payload: the folder the output was to go in
    folderNotWritable,  // payload: the folder the output was to go in
  };

  static Failure unsupported(std::string message) {
    return {Kind::unsupported, std::move(message)};
  }
  static Failure unreadable(std::string what) { return {Kind::unreadable, std::move(what)}; }
  static Failure encoding(std::string detail) { return {Kind::encoding, std::move(detail)}; }
  static Failure exists(std::string fileName) { return {Kind::exists, std::move(fileName)}; }
  static Failure noText() { return {Kind::noText, {}}; }
  static Failure invalidQuality() { return {Kind::invalidQuality, {}}; }
  static Failure tooLarge() { return {Kind::tooLarge, {}}; }
  static Failure lockedPDF() { return {Kind::lockedPDF, {}}; }
  static Failure wrongPassword() { return {Kind::wrongPassword, {}}; }
  static Failure noReduction() { return {Kind::noReduction, {}}; }
  // The file an editor showed was replaced, changed or removed since.
  static Failure changed(std::string fileName) { return {Kind::changed, std::move(fileName)}; }
  // Saving `fileName` into `folder` failed for want of room on its disk, or
  // because the folder may not be written; the message names only the
  // folder's own name and the file's.
  static Failure noRoom(const std::filesystem::path& folder, const std::string& fileName);
  static Failure folderNotWritable(const std::filesystem::path& folder,
                                   const std::string& fileName);

  Kind kind() const { return kind_; }
  // The string the failure carries; empty for the kinds that carry none.
  const std::string& payload() const { return payload_; }
  const char* what() const noexcept override { return message_.c_str(); }

 private:
  Failure(Kind kind, std::string payload);
  Failure(Kind kind, std::string payload, std::string message);

  Kind kind_;
  std::string payload_;
  std::string message_;
};

// A file-system or process error. `sentence` is the English message, a text of
// the engine's catalogue with %1$s where the path goes and %2$s where the
// reason goes, for example "Could not open \"%1$s\": %2$s"; what() is its
// translation with both filled in. (xgettext reads the second argument of
// FileError and throwFileError.)
class FileError : public std::filesystem::filesystem_error {
 public:
  FileError(int error, const char* sentence, const std::filesystem::path& path);
  // The same with our own `reason` in place of the system's text for `error`.
  FileError(int error, const char* sentence, const std::filesystem::path& path,
            std::string_view reason);

  const char* what() const noexcept override { return message_.c_str(); }

 private:
  std::string message_;
};

// The failure a user is shown when saving `fileName` into `folder` failed
// with `error` (an errno value): Failure::noRoom for a full disk or quota,
// Failure::folderNotWritable for a folder that may not be written, and no
// value for any other error, which keeps its own message.
std::optional<Failure> savingFailure(int error, const std::filesystem::path& folder,
                                     const std::string& fileName);

// Throws a FileError for `error` (an errno value).
[[noreturn]] void throwFileError(int error, const char* sentence,
                                 const std::filesystem::path& path);

// The text a user is shown for any error the engine lets through: the message of
// a Failure or FileError as it stands, a readable sentence for anything else.
std::string describe(const std::exception& error);

}  // namespace MediaEngine
