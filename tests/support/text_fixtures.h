// Fixtures for text extraction, made at test time: pictures of known text
// drawn with Pango, PDF pages with and without a text layer, and ZIP packages
// (DOCX files) written with libzip.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>
#include <vips/vips8>

namespace TestSupport {

namespace fs = std::filesystem;

// Black `lines` on white, one below the other, in a sans-serif face whose
// letters are `pixelSize` pixels high (an em), with a margin around them.
vips::VImage textPicture(const std::vector<std::string>& lines, double pixelSize = 40);

// The number of lines Pango makes of `text` laid out at once in `family` at
// `size` points, wrapped at words within `width` points, metrics unhinted.
int pangoLineCount(const std::string& text, const char* family, double size, double width);

// One page of a letter-size PDF: `textLayer` lines are typeset (so they are
// in the page's text layer as well as visible); `pictured` lines are drawn as
// a picture of text below them, visible but absent from the text layer.
struct PDFPageText {
  std::vector<std::string> textLayer;
  std::vector<std::string> pictured;
};
// Pages are `width` by `height` points, US Letter unless asked.
void writePDF(const fs::path& path, const std::vector<PDFPageText>& pages, double width = 612,
              double height = 792);

struct ZipMember {
  std::string name;
  std::string content;
};
// A ZIP package holding `members`, deflated, in order.
void writeZip(const fs::path& path, const std::vector<ZipMember>& members);

// A complete DOCX main document part: `body` (WordprocessingML such as
// "<w:p><w:r><w:t>Hi</w:t></w:r></w:p>") inside w:document/w:body, with the
// usual namespace declarations (w, mc, wps, v).
std::string wordDocument(std::string_view body);

// A minimal DOCX package at `path` whose main document part is `documentXML`.
void writeDocx(const fs::path& path, std::string_view documentXML);

}  // namespace TestSupport
