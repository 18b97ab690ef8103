// writeImage(): one call from decoded pixels to a published file of any output
// format.
#include <cmath>

#include "office/docx_writer.h"
#include "whirlpane/formats.h"
#include "operations/image_writer.h"
#include "image/image_encoding.h"
#include "pdf/pdf_writer.h"
#include "files/output_placement.h"
#include "text/text_extraction.h"

namespace MediaEngine {

void writeImage(const Image& image, std::string_view format, const std::filesystem::path& to,
                double quality) {
  if (!std::isfinite(quality) || quality < 0.0 || quality > 1.0) throw Failure::invalidQuality();
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
