#include "whirlpane/compression.h"

#include <sys/stat.h>

#include <cerrno>
#include <cmath>
#include <optional>

#include "base/file_io.h"
#include "base/quality.h"
#include "files/output_placement.h"
#include "image/image_decoding.h"
#include "image/image_encoding.h"
#include "image/jpeg_segments.h"
#include "pdf/pdf_compression.h"
#include "pdf/pdf_document.h"
#include "whirlpane/failure.h"
#include "whirlpane/formats.h"

namespace MediaEngine {
namespace {

namespace fs = std::filesystem;

// The image source of `url`, refused when it holds several frames. This runs
// before the format is looked at, so that an animated GIF, which can be read
// but not written, hears why. nullopt when no decoder recognises the file.
std::optional<ImageSource> singleFrameSource(const fs::path& url) {
  if (lowerExtension(url) == "pdf") return std::nullopt;
  std::optional<ImageSource> source = ImageSource::open(url);
  if (source && source->frameCount() > 1) throw Failure::unsupported(discardedFramesMessage);
  return source;
}

// The decoded image, failing with the decoder's reason when there is none.
Image decoded(const fs::path& url, const std::optional<ImageSource>& source) {
  return source ? source->decode() : loadImage(url);
}

}  // namespace

fs::path compress(const fs::path& url, double quality) {
  requireQuality(quality);
  const std::optional<ImageSource> source = singleFrameSource(url);
  const std::string format = normalized(lowerExtension(url));
  Bytes candidate;
  if (format == "pdf") {
    pdf(url);  // refuses locked, unreadable and empty documents
    candidate = Bytes::copyOf(detail::compressedPDF(url, quality));
  } else {
    candidate = encodedImage(decoded(url, source), format, quality);
  }
  struct stat info {};
  if (::stat(url.c_str(), &info) != 0) throwFileError(errno, "Could not read", url);
  if (candidate.size() >= static_cast<size_t>(info.st_size)) throw Failure::noReduction();
  return publishBeside(url, "-compressed", format, candidate);
}

fs::path stripMetadata(const fs::path& url) {
  const std::optional<ImageSource> source = singleFrameSource(url);
  const std::string format = normalized(lowerExtension(url));
  if (!isRaster(format)) {
    throw Failure::unsupported(
        "Metadata removal currently supports images. "
        "PDF and document metadata require document-specific sanitization.");
  }
  // A JPEG whose stored pixels are its decoded pixels keeps its coded image:
  // only the metadata segments go, with no loss and no growth. Anything else
  // is encoded again from its pixels.
  if (format == "jpg" && source && source->isPlainJPEG()) {
    if (auto stream = detail::jpegWithoutMetadata(detail::readWholeFile(url).span())) {
      // The resolution may have been stated only in the EXIF data left out.
      if (source->xres() != unstatedResolution || source->yres() != unstatedResolution)
        stream = detail::withResolution(std::move(*stream), source->xres(), source->yres());
      return publishBeside(url, "-clean", format, Bytes::copyOf(std::as_bytes(std::span(*stream))));
    }
  }
  return publishBeside(url, "-clean", format, encodedImage(decoded(url, source), format, 1.0));
}

}  // namespace MediaEngine
