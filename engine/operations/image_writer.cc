// SPDX-License-Identifier: GPL-3.0-or-later
// writeImage(): one call from decoded pixels to a published file of any output
// format.
#include "operations/image_writer.h"

#include <cmath>

#include "base/file_io.h"
#include "base/quality.h"
#include "documents/document_support.h"
#include "files/output_placement.h"
#include "image/image_encoding.h"
#include "whirlpane/formats.h"

namespace MediaEngine {

void writeImage(const Image& image, std::string_view format, const std::filesystem::path& to,
                const std::filesystem::path& source, double quality) {
  requireQuality(quality);
  const std::string canonical = normalized(format);
  Bytes bytes;
  if (canonical == "pdf") {
    bytes = detail::documentSupport().imagePDF(image);
  } else if (canonical == "docx") {
    bytes = detail::documentSupport().docx(std::nullopt, image);
  } else if (canonical == "txt") {
    bytes = Bytes::copyOf(detail::documentSupport().recognize(image, /*allowEmpty=*/false));
  } else {
    // Where the encoder writes a file as it goes, straight into the hidden one.
    publishWritten(
        [&](int fd, const std::filesystem::path& path) {
          if (!writeEncoded(image, canonical, fd, path))
            detail::writeAll(fd, encodedImage(image, canonical, quality).span(), path);
        },
        to, outputPermissions(source));
    return;
  }
  publish(bytes, to, outputPermissions(source));
}

}  // namespace MediaEngine
