// SPDX-License-Identifier: GPL-3.0-or-later
// DOCX writing: word-processing documents in Office Open XML (ECMA-376,
// Transitional) made from plain text, one image, or both, packed by the ZIP
// writer.
//
// Thread safety: every function may be called from any thread at once.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "image/image.h"
#include "whirlpane/bytes.h"

namespace MediaEngine {

// A DOCX file holding `text`, one paragraph per line, followed by `image`
// scaled to fit 6.5 × 9 inches, on US Letter pages with 0.75-inch margins.
// Either may be absent; an empty text is one empty paragraph. A carriage
// return followed by a line feed ends one line; every other line break
// (U+000A to U+000D, U+0085, U+2028, U+2029) ends a line on its own. Throws
// what encodedImage() throws for the image, and Failure::tooLarge when the
// package would pass ZIP's 4 GB limits.
Bytes docx(std::optional<std::string_view> text, const std::optional<Image>& image);

// `text` without the characters XML 1.0 does not allow: the controls other
// than tab, line feed and carriage return, U+FFFE and U+FFFF. Bytes that are
// not UTF-8 are dropped too.
std::string xml(std::string_view text);

}  // namespace MediaEngine
