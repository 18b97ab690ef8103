// SPDX-License-Identifier: GPL-3.0-or-later
// writeImage(): one call from decoded pixels to a published file of any output
// format.
#include "operations/image_writer.h"

#include <cmath>

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
    bytes = encodedImage(image, canonical, quality);
  }
  publish(bytes, to, outputPermissions(source));
}

}  // namespace MediaEngine
