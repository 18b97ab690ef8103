// writeImage(): one call from decoded pixels to a published file of any output
// format.
#include <cmath>

#include "engine/docx_zip.h"
#include "engine/formats.h"
#include "engine/image_codec.h"
#include "engine/output_placement.h"
#include "engine/pdf_pages.h"
#include "engine/text_extraction.h"

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
