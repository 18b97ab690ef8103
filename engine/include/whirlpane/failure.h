// MediaEngine::Failure: the one exception type for the engine's own failure
// conditions. File-system and process errors travel as FileError instead.
//
// Thread safety: a Failure is an immutable value; any thread may make, copy
// and read one.
#pragma once

#include <exception>
#include <string>

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
    noReduction,
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
  static Failure noReduction() { return {Kind::noReduction, {}}; }

  Kind kind() const { return kind_; }
  // The string the failure carries; empty for the kinds that carry none.
  const std::string& payload() const { return payload_; }
  const char* what() const noexcept override { return message_.c_str(); }

 private:
  Failure(Kind kind, std::string payload);

  Kind kind_;
  std::string payload_;
  std::string message_;
};

}  // namespace MediaEngine
