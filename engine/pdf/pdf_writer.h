// SPDX-License-Identifier: GPL-3.0-or-later
// PDF writing: one-page PDFs of a picture, and the in-memory PDF document
// that the text typesetter draws into. Pages of pictures are sized as if the
// picture were 300 dots per inch, so an image taken to PDF and back keeps its
// pixel size.
//
// Thread safety: any thread; a PDFStream belongs to one thread at a time.
#pragma once

#include <optional>
#include <span>
#include <vector>

#include "image/image.h"
#include "whirlpane/bytes.h"

typedef struct _cairo_surface cairo_surface_t;

namespace MediaEngine {

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
