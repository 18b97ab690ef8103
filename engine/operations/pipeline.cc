#include "whirlpane/pipeline.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <future>
#include <optional>

#include "base/file_io.h"
#include "base/handles.h"
#include "files/output_placement.h"
#include "image/image_decoding.h"
#include "image/image_encoding.h"
#include "office/docx_writer.h"
#include "pdf/pdf_document.h"
#include "pdf/pdf_writer.h"
#include "text/text_extraction.h"
#include "text/text_pdf.h"
#include "whirlpane/failure.h"
#include "whirlpane/formats.h"

namespace MediaEngine {
namespace {

namespace fs = std::filesystem;

constexpr double conversionQuality = 0.9;

enum class SourceKind { pdf, textDocument, image };

SourceKind kindOf(const fs::path& source) {
  const std::string ext = lowerExtension(source);
  if (ext == "pdf") return SourceKind::pdf;
  if (ext == "txt" || ext == "docx") return SourceKind::textDocument;
  return SourceKind::image;
}

// The source must be a file we can open for reading. Missing files, folders and
// unreadable files fail with the system's own reason; anything that is not a
// regular file (a FIFO, a device) is refused without being read, since reading
// it could block forever or never end.
void checkReadable(const fs::path& source) {
  const UniqueFd fd(::open(source.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
  if (!fd) throwFileError(errno, "Could not open", source);
  struct stat info;
  if (::fstat(fd.get(), &info) != 0) throwFileError(errno, "Could not open", source);
  if (S_ISDIR(info.st_mode)) throwFileError(EISDIR, "Could not open", source);
  if (!S_ISREG(info.st_mode)) throw Failure::unreadable(source.filename().string());
}

// Renders, encodes and stages every page in order. Rendering page n + 1
// overlaps encoding and staging page n on a second thread, so at most two
// pages' pixels are held at a time whatever the page count; staged pages wait
// on disk. The first failure of either side ends the conversion.
void stagePages(BatchFolder& batch, const PDFDocument& document, const std::string& format) {
  const int pages = document.pageCount();
  std::future<void> staging;
  for (int index = 0; index < pages; ++index) {
    Image page = rasterize(document, index);
    if (staging.valid()) staging.get();
    std::string suffix = pages == 1 ? "" : "-page-" + std::to_string(index + 1);
    staging = std::async(
        std::launch::async, [&batch, &format, page = std::move(page), suffix = std::move(suffix)] {
          batch.stage(encodedImage(page, format, conversionQuality, Content::document), suffix);
        });
  }
  if (staging.valid()) staging.get();
}

}  // namespace

std::vector<fs::path> convert(const fs::path& source, std::string_view format) {
  const std::string canonical = normalized(format);
  checkReadable(source);
  const SourceKind kind = kindOf(source);

  std::optional<ImageSource> image;
  if (kind == SourceKind::image) {
    image = ImageSource::open(source);
    if (image && image->frameCount() > 1) {
      throw Failure::unsupported(discardedFramesMessage);
    }
  }

  BatchFolder batch(source, canonical);
  if (canonical == "txt") {
    batch.stage(Bytes::copyOf(extractText(source)), "");
    return batch.publish();
  }
  if (canonical == "docx") {
    if (kind != SourceKind::image) {
      batch.stage(docx(extractText(source), std::nullopt), "");
    } else if (image) {
      batch.stage(docx(std::nullopt, image->decode()), "");
    } else {
      throw Failure::unreadable(source.filename().string());
    }
    return batch.publish();
  }
  if (kind == SourceKind::textDocument) {
    // The typeset pages are opened again before anything is made of them, so
    // that a layout fault shows as a failure rather than as a broken file.
    Bytes typeset = textPDF(extractText(source));
    if (canonical == "pdf") {
      if (!pdf(Bytes::copyOf(typeset.span()))) throw Failure::encoding("Text layout failed");
      batch.stage(std::move(typeset), "");
    } else {
      const std::optional<PDFDocument> document = pdf(std::move(typeset));
      if (!document) throw Failure::encoding("Text layout failed");
      stagePages(batch, *document, canonical);
    }
    return batch.publish();
  }
  if (kind == SourceKind::pdf) {
    const PDFDocument document = pdf(source);  // refuses locked, unreadable and empty documents
    if (canonical == "pdf") {
      batch.stage(detail::readWholeFile(source), "");
    } else {
      stagePages(batch, document, canonical);
    }
    return batch.publish();
  }
  if (!image) throw Failure::unreadable(source.filename().string());
  if (canonical == "pdf") {
    std::optional<Bytes> page;
    if (image->isPlainJPEG()) {
      page = jpegPDF(detail::readWholeFile(source).span(), static_cast<int>(image->storedWidth()),
                     static_cast<int>(image->storedHeight()));
    }
    batch.stage(page ? std::move(*page) : imagePDF(image->decode()), "");
  } else {
    batch.stage(encodedImage(*image, canonical, conversionQuality), "");
  }
  return batch.publish();
}

}  // namespace MediaEngine
