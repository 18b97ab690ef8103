// File-system and process errors as the engine reports them: a
// std::filesystem::filesystem_error (so a std::system_error with the errno)
// whose what() is the user-facing text, naming what failed, the path and the
// system's reason.
//
// Thread safety: a FileError is an immutable value, and describe() keeps no
// state; both may be used from any thread.
#pragma once

#include <exception>
#include <filesystem>
#include <string>
#include <string_view>

namespace MediaEngine {

class FileError : public std::filesystem::filesystem_error {
 public:
  // `action` is what we were doing, worded to precede the path, for example
  // "Could not open". The message reads: action "path": reason.
  FileError(int error, std::string action, const std::filesystem::path& path);
  // The same with our own `reason` in place of the system's text for `error`.
  FileError(int error, std::string action, const std::filesystem::path& path,
            std::string_view reason);

  const char* what() const noexcept override { return message_.c_str(); }

 private:
  std::string message_;
};

// Throws a FileError for `error` (an errno value).
[[noreturn]] void throwFileError(int error, std::string action, const std::filesystem::path& path);

// The text a user is shown for any error the engine lets through: the message of
// a Failure or FileError as it stands, a readable sentence for anything else.
std::string describe(const std::exception& error);

}  // namespace MediaEngine
