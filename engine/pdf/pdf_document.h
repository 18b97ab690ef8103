// SPDX-License-Identifier: GPL-3.0-or-later
// PDF reading: opening a document the engine can use, and rendering one page
// into pixels at a given resolution (300 dots per inch unless asked).
//
// Thread safety: the functions may run on any thread; a PDFDocument belongs to
// one thread at a time.
#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <utility>

#include "image/image.h"
#include "whirlpane/bytes.h"

namespace poppler {
class document;
}
class PDFDoc;

namespace MediaEngine {

inline constexpr double pageResolution = 300.0;

// An open PDF document: readable, not locked, with at least one page.
class PDFDocument {
 public:
  // `data`, when given, holds the bytes `document` reads from; otherwise
  // `file` is where it was read from, unlocked with `password` when it is
  // locked.
  PDFDocument(std::unique_ptr<poppler::document> document, Bytes data,
              std::filesystem::path file = {}, std::string password = {});
  ~PDFDocument();
  PDFDocument(PDFDocument&&) noexcept;
  PDFDocument& operator=(PDFDocument&&) noexcept;

  int pageCount() const;
  const poppler::document& document() const { return *document_; }
  // The same document opened by poppler's core, for rendering with its Splash
  // device directly; opened on first use. Throws Failure::encoding "PDF
  // rasterization failed" when it does not open.
  PDFDoc& renderable() const;

 private:
  Bytes data_;  // declared first: the documents read from it until they are gone
  std::filesystem::path file_;
  std::string password_;
  std::unique_ptr<poppler::document> document_;
  mutable std::unique_ptr<PDFDoc> renderable_;
};

// Opens `url`, a locked one with the password usePDFPassword() gave. Throws
// Failure::unreadable with the file name when it is no PDF that can be read,
// Failure::lockedPDF when it needs a password to open and none was given,
// Failure::wrongPassword when the one given does not open it, and
// Failure::unreadable "empty PDF" when it has no pages. A document with only
// an owner password opens normally.
PDFDocument pdf(const std::filesystem::path& url);

// The PDF in `data` when it opens, is not locked and has a page; nullopt
// otherwise. For documents the engine has just made.
std::optional<PDFDocument> pdf(Bytes data);

// The pixel size of page `index` (from 0) at `dpi`: its crop box, sides
// exchanged for a quarter-turn rotation, each side times dpi / 72 rounded up.
// Throws Failure::unreadable "PDF page N" for a page that cannot be read and
// Failure::tooLarge for a side that is not positive, over 100,000,000 pixels,
// or a size over the pixel budget.
std::pair<int, int> pagePixelSize(const PDFDocument& document, int index,
                                  double dpi = pageResolution);

// The highest whole number of dots per inch, at most `most`, at which page
// `index` fits the pixel budget: for pages too large to render at 300 dots
// per inch, whose text can still be recognised at a lower resolution. Throws
// as pagePixelSize() does when not even one dot per inch fits.
double largestResolution(const PDFDocument& document, int index, double most = pageResolution);

// Renders page `index` upright at `dpi` on white, its annotations (form
// fields, notes, stamps) included, at pagePixelSize(). The size is checked
// before any pixel is allocated. Throws as pagePixelSize() does, and
// Failure::encoding "PDF rasterization failed" when rendering fails.
Image rasterize(const PDFDocument& document, int index, double dpi = pageResolution);

}  // namespace MediaEngine
