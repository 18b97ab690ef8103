// writeImage(): one call from decoded pixels to a published file of any output
// format.
#include "operations/image_writer.h"

#include <cmath>

#include "base/quality.h"
#include "files/output_placement.h"
#include "image/image_encoding.h"
#include "office/docx_writer.h"
#include "pdf/pdf_writer.h"
#include "text/text_extraction.h"
#include "whirlpane/formats.h"

namespace MediaEngine {

void writeImage(const Image& image, std::string_view format, const std::filesystem::path& to,
                double quality) {
  requireQuality(quality);
  const std::string canonical = normalized(format);
  if (canonical == "pdf") {
    publish(imagePDF(image), to);
  } else if (canonical == "docx") {
    publish(docx(std::nullopt, image), to);
  } else if (canonical == "txt") {
    publish(Bytes::copyOf(recognize(image, /*allowEmpty=*/false)), to);
  } else {
    publish(encodedImage(image, canonical, quality), to);
  }
}

}  // namespace MediaEngine
