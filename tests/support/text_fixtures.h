// SPDX-License-Identifier: GPL-3.0-or-later
// Fixtures for text extraction made at test time with Pango, cairo and libzip.
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

// One page of a PDF: `textLayer` lines are typeset (so they are in the page's
// text layer as well as visible); `pictured` lines are drawn below them as
// outlines, visible but absent from the text layer.
struct PDFPageText {
  std::vector<std::string> textLayer;
  std::vector<std::string> pictured;
};
// Pages are `width` by `height` points, US Letter unless asked.
void writePDF(const fs::path& path, const std::vector<PDFPageText>& pages, double width = 612,
              double height = 792);

// A ZIP package holding one deflated member.
void writeZip(const fs::path& path, const std::string& name, const std::string& content);

// A DOCX main document part: `body`, such as "<w:p><w:r><w:t>Hi</w:t></w:r></w:p>",
// inside w:document/w:body with the usual namespaces (w, mc, wps, v).
std::string wordDocument(std::string_view body);

// A DOCX package at `path` whose main document part is `documentXML`.
void writeDocx(const fs::path& path, std::string_view documentXML);

}  // namespace TestSupport
