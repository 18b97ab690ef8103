// The engine's shared vocabulary: output format identifiers and the one failure
// type every operation reports through.
//
// Thread safety: everything here is safe to call from any thread. The format
// table is built once, on first use, and never changes afterwards.
#pragma once

#include <array>
#include <exception>
#include <filesystem>
#include <map>
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

// The seven raster formats, keyed by canonical identifier ("jpg", not "jpeg"),
// with their type identifiers. Membership is the test of "is a raster format".
const std::map<std::string, std::string, std::less<>>& types();

// True when `format` (canonical) is one of the seven raster formats.
bool isRaster(std::string_view format);

// Returns the canonical identifier for what a caller typed: white space around it,
// case and one leading dot are ignored, and "jpeg", "tif" and "heif" stand for
// "jpg", "tiff" and "heic". Throws Failure::unsupported naming the input, as
// typed and upper-cased, when it names no output format.
std::string normalized(std::string_view format);

// The file-name extension of `path`, lower-cased, without its dot ("" when
// there is none). It alone decides how a source is read.
std::string lowerExtension(const std::filesystem::path& path);

// `s` without the white space and line breaks (Unicode's, U+0085 and
// U+2028/U+2029 included) at either end.
std::string_view trimmed(std::string_view s);

// Length in bytes of the line break that starts `s`, or 0. Line breaks are
// U+000A to U+000D, U+0085, U+2028 and U+2029; a carriage return followed by
// a line feed is one break.
size_t lineBreakAt(std::string_view s);

// `text` in lower case by Unicode's default mapping (byte-wise ASCII mapping
// where it is not valid UTF-8).
std::string lowerCased(std::string_view text);

// `format` in capitals, as messages name formats ("The system HEIC encoder").
std::string upperCased(std::string_view format);

// What an operation that would keep only the first frame of an animation or
// multi-page image says instead (Failure::unsupported).
inline constexpr const char* discardedFramesMessage =
    "This operation would discard additional image frames. Convert individual frames first.";

// Every canonical output format, in the order a user sees them listed. Inline,
// so that a front end can list them without loading the engine.
inline constexpr std::array<std::string_view, 10> outputFormats{
    "png", "jpg", "webp", "heic", "tiff", "avif", "bmp", "pdf", "docx", "txt"};

}  // namespace MediaEngine
