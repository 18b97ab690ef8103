// SPDX-License-Identifier: GPL-3.0-or-later
#include "office/docx_writer.h"

#include <glib.h>

#include "base/unicode.h"
#include "image/image_encoding.h"
#include "office/zip_writer.h"

namespace MediaEngine {
namespace {

constexpr std::string_view declaration =
    R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)";

// ECMA-376 Transitional identifiers.
constexpr std::string_view wordprocessingML =
    "http://schemas.openxmlformats.org/wordprocessingml/2006/main";
constexpr std::string_view relationshipsNS =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
constexpr std::string_view wordprocessingDrawing =
    "http://schemas.openxmlformats.org/drawingml/2006/wordprocessingDrawing";
constexpr std::string_view drawingML = "http://schemas.openxmlformats.org/drawingml/2006/main";
constexpr std::string_view picture = "http://schemas.openxmlformats.org/drawingml/2006/picture";
constexpr std::string_view packageRelationships =
    "http://schemas.openxmlformats.org/package/2006/relationships";
constexpr std::string_view contentTypes =
    "http://schemas.openxmlformats.org/package/2006/content-types";
constexpr std::string_view officeDocumentType =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument";
constexpr std::string_view imageType =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships/image";

// 6.5 × 9 inches, the frame an image is fitted into, in English Metric Units.
constexpr long long frameWidthEMU = 5'943'600;
constexpr long long frameHeightEMU = 8'229'600;

std::string cat(std::initializer_list<std::string_view> pieces) {
  size_t size = 0;
  for (const std::string_view piece : pieces) size += piece.size();
  std::string joined;
  joined.reserve(size);
  for (const std::string_view piece : pieces) joined.append(piece);
  return joined;
}

void appendEscaped(std::string& out, std::string_view line) {
  for (const char c : xml(line)) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      case '\'':
        out += "&apos;";
        break;
      default:
        out.push_back(c);
    }
  }
}

void appendParagraphs(std::string& body, std::string_view text) {
  constexpr std::string_view open = R"(<w:p><w:r><w:t xml:space="preserve">)";
  constexpr std::string_view close = "</w:t></w:r></w:p>";
  size_t start = 0;
  for (size_t i = 0;;) {
    const size_t n = i < text.size() ? lineBreakAt(text.substr(i)) : 0;
    if (i == text.size() || n > 0) {
      body += open;
      appendEscaped(body, text.substr(start, i - start));
      body += close;
      if (i == text.size()) break;
      i += n;
      start = i;
    } else {
      ++i;
    }
  }
}

// The picture's size on the page: fitted into the frame, aspect ratio kept,
// enlarged as well as reduced. Integer arithmetic, so that the side that
// fills the frame is exactly the frame's.
std::pair<long long, long long> extentOf(long long width, long long height) {
  if (frameWidthEMU * height <= frameHeightEMU * width)
    return {frameWidthEMU, frameWidthEMU * height / width};
  return {frameHeightEMU * width / height, frameHeightEMU};
}

void appendImageParagraph(std::string& body, int width, int height) {
  const auto [cx, cy] = extentOf(width, height);
  const std::string x = std::to_string(cx), y = std::to_string(cy);
  body += cat(
      {R"(<w:p><w:r><w:drawing><wp:inline distT="0" distB="0" distL="0" distR="0"><wp:extent cx=")",
       x, R"(" cy=")", y,
       R"("/><wp:docPr id="1" name="Converted image"/><a:graphic><a:graphicData uri=")", picture,
       R"("><pic:pic><pic:nvPicPr><pic:cNvPr id="1" name="image.png"/><pic:cNvPicPr/></pic:nvPicPr>)"
       R"(<pic:blipFill><a:blip r:embed="rIdImage"/><a:stretch><a:fillRect/></a:stretch></pic:blipFill>)"
       R"(<pic:spPr><a:xfrm><a:off x="0" y="0"/><a:ext cx=")",
       x, R"(" cy=")", y,
       R"("/></a:xfrm><a:prstGeom prst="rect"><a:avLst/></a:prstGeom></pic:spPr></pic:pic>)"
       R"(</a:graphicData></a:graphic></wp:inline></w:drawing></w:r></w:p>)"});
}

}  // namespace

std::string xml(std::string_view text) {
  std::string kept;
  kept.reserve(text.size());
  for (size_t at = 0; at < text.size();) {
    const char* start = text.data() + at;
    const gunichar c = g_utf8_get_char_validated(start, static_cast<gssize>(text.size() - at));
    if (c == static_cast<gunichar>(-1) || c == static_cast<gunichar>(-2)) {
      ++at;  // not UTF-8
      continue;
    }
    const size_t length = static_cast<size_t>(g_utf8_next_char(start) - start);
    const bool allowed =
        c == 0x09 || c == 0x0A || c == 0x0D || (c >= 0x20 && c != 0xFFFE && c != 0xFFFF);
    if (allowed) kept.append(start, length);
    at += length;
  }
  return kept;
}

Bytes docx(std::optional<std::string_view> text, const std::optional<Image>& image) {
  std::string document =
      cat({declaration, R"(<w:document xmlns:w=")", wordprocessingML, R"(" xmlns:r=")",
           relationshipsNS, R"(" xmlns:wp=")", wordprocessingDrawing, R"(" xmlns:a=")", drawingML,
           R"(" xmlns:pic=")", picture, R"("><w:body>)"});
  if (text) appendParagraphs(document, *text);
  if (image) appendImageParagraph(document, image->width(), image->height());
  document +=
      R"(<w:sectPr><w:pgSz w:w="12240" w:h="15840"/><w:pgMar w:top="1080" w:right="1080" w:bottom="1080" )"
      R"(w:left="1080"/></w:sectPr></w:body></w:document>)";

  const std::string types = cat(
      {declaration, R"(<Types xmlns=")", contentTypes,
       R"("><Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/>)"
       R"(<Default Extension="xml" ContentType="application/xml"/><Default Extension="png" ContentType="image/png"/>)"
       R"(<Override PartName="/word/document.xml" )"
       R"(ContentType="application/vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml"/></Types>)"});
  const std::string packageRels =
      cat({declaration, R"(<Relationships xmlns=")", packageRelationships,
           R"("><Relationship Id="rIdDocument" Type=")", officeDocumentType,
           R"(" Target="word/document.xml"/></Relationships>)"});
  const auto bytesOf = [](const std::string& s) { return std::as_bytes(std::span(s)); };

  std::vector<ZipEntry> entries;
  Bytes png;
  std::string documentRels;
  if (image) {
    png = encodedImage(*image, "png", 1.0);
    documentRels = cat({declaration, R"(<Relationships xmlns=")", packageRelationships,
                        R"("><Relationship Id="rIdImage" Type=")", imageType,
                        R"(" Target="media/image.png"/></Relationships>)"});
    entries.push_back({"word/media/image.png", png.span()});
    entries.push_back({"word/_rels/document.xml.rels", bytesOf(documentRels)});
  }
  entries.push_back({"word/document.xml", bytesOf(document)});
  entries.push_back({"[Content_Types].xml", bytesOf(types)});
  entries.push_back({"_rels/.rels", bytesOf(packageRels)});
  return zip(entries);
}

}  // namespace MediaEngine
