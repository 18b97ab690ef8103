// SPDX-License-Identifier: GPL-3.0-or-later
// PDF, text and office support as a library of its own,
// libwhirlpane-documents.so: reading, rendering, writing and recompressing
// PDFs (poppler, cairo, qpdf), text extraction and typesetting (expat, Pango),
// DOCX and ZIP (libzip), and text recognition in front of the OCR plugin. The
// engine loads it on the first conversion that needs it, so that image
// conversions do not pay for loading poppler, qpdf and libzip. The library
// links the engine and is built with it, so the table below speaks the
// engine's C++ types.
//
// Thread safety: documentSupport() and every entry may be called from any
// thread at once.
#pragma once

#include <ctime>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "files/output_placement.h"
#include "image/image.h"
#include "whirlpane/bytes.h"

namespace MediaEngine::detail {

// The entry points, each as the function of the same name in pdf/, text/ or
// office/ describes it, unless said otherwise.
struct DocumentSupport {
  std::string (*extractText)(const std::filesystem::path& url);
  std::string (*recognize)(const Image& image, bool allowEmpty);
  Bytes (*docx)(std::optional<std::string_view> text, const std::optional<Image>& image);
  Bytes (*imagePDF)(const Image& image);
  std::optional<Bytes> (*jpegPDF)(std::span<const std::byte> jpeg, int width, int height);
  // Stages the PDF `source` in `batch` as `format`: a copy of it for "pdf",
  // otherwise every page rendered and encoded at `quality`, one output each.
  // Locked, unreadable and empty documents fail as pdf() fails.
  void (*stagePDF)(BatchFolder& batch, const std::filesystem::path& source,
                   const std::string& format, double quality);
  // Stages the text of the txt or docx `source` typeset into PDF pages, as
  // one PDF for "pdf" and one output per page otherwise.
  void (*stageTextDocument)(BatchFolder& batch, const std::filesystem::path& source,
                            const std::string& format, double quality);
  // compressedPDF() of a document that pdf() first accepts.
  std::string (*compressedPDF)(const std::filesystem::path& url, double quality);
  // The PDF's metadata rows: page count, first page size, every information
  // key in order, dates written by `date`.
  void (*appendPDFMetadata)(std::vector<std::pair<std::string, std::string>>& rows,
                            const std::filesystem::path& url, std::string (*date)(time_t));
};

// The library's table, loaded on the first call and kept for the life of the
// process. Throws Failure (unsupported) when the library cannot be loaded, a
// broken installation.
const DocumentSupport& documentSupport();

}  // namespace MediaEngine::detail

// The library's one entry point.
extern "C" const MediaEngine::detail::DocumentSupport* whirlpaneDocumentSupport();
