// SPDX-License-Identifier: GPL-3.0-or-later
// Text extraction: any source the engine reads, as one plain string. A
// plain-text file is read whole; a DOCX file's main document part is read for
// its paragraphs; a PDF gives its embedded text layer together with whatever
// text recognition finds on each page's rendering that the layer lacks; an
// image is read by text recognition alone.
//
// Thread safety: every function may be called from any thread at once; each
// call has its own parser and recognisers.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "image/image.h"

namespace MediaEngine {

// The largest main document part a DOCX file may hold: 32 MiB, uncompressed.
inline constexpr size_t documentPartLimit = 33'554'432;

// The largest plain-text file read: 64 MiB, about 20,000 pages of typeset text.
inline constexpr size_t plainTextLimit = 67'108'864;

// The text of `url`, chosen by its extension, compared in lower case:
//  - "txt": the file exactly as decoded (see detail::decodedText), nothing
//    trimmed, empty when the file is; Failure::tooLarge past plainTextLimit,
//    before anything is read;
//  - "docx": the paragraphs of "word/document.xml", trimmed at both ends;
//    Failure::noText when there are none;
//  - "pdf": per page, the text layer followed by the recognised lines it
//    lacks, pages separated by a blank line; Failure::noText when no page
//    holds any text. A page too large to render at 300 dots per inch is
//    recognised at the highest resolution the pixel budget allows;
//  - anything else: the text recognised in the decoded image;
//    Failure::noText when there is none.
// Failures of reading, unpacking, decoding, rendering and recognition pass on
// as those steps report them.
std::string extractText(const std::filesystem::path& url);

// The lines of text recognised in `image`, in reading order, joined by line
// feeds. When none are found: "" if `allowEmpty`, Failure::noText otherwise.
std::string recognize(const Image& image, bool allowEmpty);

namespace detail {

// The key two texts are compared by: lower case, every run of characters that
// are not letters, marks or digits made one space, none at either end.
// "Total: 1,250 EUR" gives "total 1 250 eur".
std::string comparable(std::string_view text);

// One page's text: `embedded` (the page's text layer, already trimmed)
// followed by each line of `recognized` whose key is not empty and not found
// within the key of `embedded`, in recognition order and unchanged, joined by
// line feeds; empty entries are left out. A key counts as found when some
// stretch of the page's key differs from it by at most a quarter of its
// characters in edits (insertions, deletions, substitutions): recognition
// misreads ("htm1.xm1" for "html.xml"), the layer already holds the line.
std::string pageText(std::string_view embedded, std::string_view recognized);

// Receives the events of one parse of a DOCX main document part and collects
// its text: character data inside "t" elements; a tab for each "tab"; a line
// feed for each "br" and "cr" and at the end of each "p"; a tab at the end of
// each table cell "tc". Of each markup-compatibility "AlternateContent", only
// the first branch ("Choice" or "Fallback") is read. Elements are matched by
// local name, so "w:t" and "t" are the same.
class DocumentXMLReader {
 public:
  void startElement(std::string_view name);
  void endElement(std::string_view name);
  void characters(std::string_view data);

  const std::string& text() const { return text_; }

 private:
  std::string text_;
  bool readingText_ = false;
  std::vector<bool> alternatives_;
  long skippedDepth_ = 0;
};

// The text of a DOCX main document part, `xml`, trimmed at both ends. Throws
// Failure::unreadable with `fileName` when it is not well-formed XML (an
// entity whose expansion runs away included), Failure::tooLarge when its text
// would pass documentPartLimit, and Failure::noText when it holds only white
// space. External entities are never read.
std::string documentText(std::string_view xml, const std::string& fileName);

}  // namespace detail
}  // namespace MediaEngine
