// PDF pages: opening a document the engine can use, rendering one page into
// pixels at a given resolution, and wrapping an image into a one-page PDF.
// Page images are made at 300 dots per inch and image pages are sized as if
// the image were 300 dots per inch, so an image taken to PDF and back keeps its
// pixel size.
//
// Thread safety: the functions may run on any thread; a PDFDocument belongs to
// one thread at a time.
#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "engine/bytes.h"
#include "engine/image_codec.h"

namespace poppler {
class document;
}
typedef struct _cairo_surface cairo_surface_t;

namespace MediaEngine {

inline constexpr double pageResolution = 300.0;

// An open PDF document: readable, not locked, with at least one page.
class PDFDocument {
 public:
  // `data`, when given, holds the bytes `document` reads from.
  explicit PDFDocument(std::unique_ptr<poppler::document> document, Bytes data = {});
  ~PDFDocument();
  PDFDocument(PDFDocument&&) noexcept;
  PDFDocument& operator=(PDFDocument&&) noexcept;

  int pageCount() const;
  const poppler::document& document() const { return *document_; }

 private:
  Bytes data_;  // declared first: the document reads from it until it is gone
  std::unique_ptr<poppler::document> document_;
};

// Opens `url`. Throws Failure::unreadable with the file name when it is no PDF
// that can be read, Failure::lockedPDF when it needs a password to open (no
// password is ever tried), and Failure::unreadable "empty PDF" when it has no
// pages. A document with only an owner password opens normally.
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

// Renders page `index` upright at `dpi` on white, its annotations (form
// fields, notes, stamps) included, at pagePixelSize(). The size is checked
// before any pixel is allocated. Throws as pagePixelSize() does, and
// Failure::encoding "PDF rasterization failed" when rendering fails.
Image rasterize(const PDFDocument& document, int index, double dpi = pageResolution);

// A one-page PDF whose page is `image` at 300 dots per inch (a 3,000 × 1,500
// image makes a 720 × 360 pt page), stored without loss. Throws
// Failure::encoding "PDF context failed" when the PDF cannot be made.
Bytes imagePDF(const Image& image);

// The same page for a JPEG file whose stored pixels are its decoded pixels
// (ImageSource::isPlainJPEG), holding the JPEG data itself rather than a
// lossless copy of its pixels: smaller, and identical when rendered. Every
// metadata segment (EXIF, XMP, comments ...) is left out. Returns nullopt when
// the data is not a JPEG stream this can take apart.
std::optional<Bytes> jpegPDF(std::span<const std::byte> jpeg, int width, int height);

namespace detail {

// `jpeg` without its APP1 to APP13, APP15 and comment segments, which carry
// EXIF, XMP, IPTC, maker notes and comments, and without anything after its
// end-of-image marker (previews, maker trailers); JFIF (APP0) and Adobe
// (APP14), which say how to read the colours, stay, and the coded image is
// untouched. nullopt when it is no complete JPEG stream.
std::optional<std::vector<unsigned char>> jpegWithoutMetadata(std::span<const std::byte> jpeg);

// A PDF document that cairo writes into memory, with no creation date (the
// same content makes the same file; cairo still names itself as producer).
class PDFStream {
 public:
  // The first page is `width` × `height` points.
  PDFStream(double width, double height);
  ~PDFStream();
  PDFStream(const PDFStream&) = delete;
  PDFStream& operator=(const PDFStream&) = delete;

  cairo_surface_t* surface() const { return surface_; }
  // Ends the document. Its bytes, or nullopt when cairo failed at any point.
  std::optional<Bytes> finish();

 private:
  std::vector<unsigned char> bytes_;
  cairo_surface_t* surface_;
};

}  // namespace detail
}  // namespace MediaEngine
