// SPDX-License-Identifier: GPL-3.0-or-later
// Unicode helpers over UTF-8 text: trimming, line breaks, case mapping and
// cutting at a character boundary. Text that is not valid UTF-8 is never
// rejected for that alone. Internal to the engine; any thread.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace MediaEngine {

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

// The first `limit` characters of `text`, cut at a character boundary; each
// byte that is not part of a valid UTF-8 sequence counts as one character and
// is kept as it is.
std::string firstCharacters(std::string_view text, size_t limit);

// The longest start of `text` that is at most `limit` bytes long and ends at a
// character boundary: a valid UTF-8 sequence is never split; each byte that is
// not part of one counts as a character of its own.
std::string_view firstBytes(std::string_view text, size_t limit);

// `bytes` up to its first NUL, as valid UTF-8: what is not UTF-8 becomes
// U+FFFD, so that a message made of another program's output stays readable.
std::string madeValid(std::string_view bytes);

}  // namespace MediaEngine
