// SPDX-License-Identifier: GPL-3.0-or-later
// Text to PDF: plain text typeset onto as many US Letter pages as it needs, in
// Helvetica (through fontconfig; other faces fill in the characters it
// lacks) at 12 points, black, inside 0.75-inch margins, with no styling, no
// headers or page numbers and no document information.
//
// Thread safety: any thread; calls share nothing.
#pragma once

#include <string_view>

#include "whirlpane/bytes.h"

namespace MediaEngine {

// The PDF of `text`: lines wrap at word boundaries (inside a word only when it
// is wider than the frame), line breaks and blank lines are kept, and each
// page holds the lines that fit before the next page continues where it
// stopped. A carriage return and line feed together are one line break. An
// empty text makes one blank-looking page. The text is laid out once, so the
// cost grows with its length alone; it is laid out on a thread of its own
// while this one draws the lines already laid out.
//
// Throws Failure::encoding "PDF text context failed" when the PDF cannot be
// made, and "Text cannot fit on a PDF page" when a line is taller than a page.
Bytes textPDF(std::string_view text);

}  // namespace MediaEngine
