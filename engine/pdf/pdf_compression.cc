// SPDX-License-Identifier: GPL-3.0-or-later
#include "pdf/pdf_compression.h"

#include <vips/vips8>

// qpdf's headers warn unless told which pointer type its old interfaces use.
#define POINTERHOLDER_TRANSITION 4

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <memory>
#include <optional>
#include <qpdf/Buffer.hh>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFPageObjectHelper.hh>
#include <qpdf/QPDFWriter.hh>
#include <vector>

#include "base/handles.h"
#include "base/translation.h"
#include "image/image.h"
#include "whirlpane/failure.h"

namespace MediaEngine {

namespace detail {
namespace {

namespace fs = std::filesystem;

constexpr double screenResolution = 150.0;  // pixels per inch for "optimised for screen"
constexpr double screenThreshold = 0.8;     // qualities below this also reduce images

// --- where images are shown ----------------------------------------------------

// The size, in points, at which each image is shown on the pages, the largest
// where it is shown more than once: the lengths its unit square takes under
// the transformation in force where a content stream paints it.
class Placements : public QPDFObjectHandle::ParserCallbacks {
 public:
  using Sizes = std::map<QPDFObjGen, std::pair<double, double>>;

  Placements(std::map<std::string, QPDFObjectHandle> images, Sizes& sizes)
      : images_(std::move(images)), sizes_(sizes) {}

  void handleObject(QPDFObjectHandle object) override {
    if (!object.isOperator()) {
      operands_.push_back(object);
      return;
    }
    const std::string op = object.getOperatorValue();
    if (op == "q") {
      stack_.push_back(matrix_);
    } else if (op == "Q" && !stack_.empty()) {
      matrix_ = stack_.back();
      stack_.pop_back();
    } else if (op == "cm" && operands_.size() == 6) {
      std::array<double, 6> m{};
      bool numbers = true;
      for (size_t i = 0; i < 6; ++i) numbers = numbers && operands_[i].getValueAsNumber(m[i]);
      if (!numbers) {
        operands_.clear();
        return;
      }
      const std::array<double, 6> c = matrix_;
      matrix_ = {m[0] * c[0] + m[1] * c[2],        m[0] * c[1] + m[1] * c[3],
                 m[2] * c[0] + m[3] * c[2],        m[2] * c[1] + m[3] * c[3],
                 m[4] * c[0] + m[5] * c[2] + c[4], m[4] * c[1] + m[5] * c[3] + c[5]};
    } else if (op == "Do" && operands_.size() == 1 && operands_[0].isName()) {
      const auto image = images_.find(operands_[0].getName());
      if (image != images_.end()) {
        auto& [width, height] = sizes_[image->second.getObjGen()];
        width = std::max(width, std::hypot(matrix_[0], matrix_[1]));
        height = std::max(height, std::hypot(matrix_[2], matrix_[3]));
      }
    }
    operands_.clear();
  }
  void handleEOF() override {}

 private:
  std::map<std::string, QPDFObjectHandle> images_;
  Sizes& sizes_;
  std::array<double, 6> matrix_{1, 0, 0, 1, 0, 0};
  std::vector<std::array<double, 6>> stack_;
  std::vector<QPDFObjectHandle> operands_;
};

// --- recompressing one image ------------------------------------------------------

// Colour components of an image colour space JPEG can hold as it is, or 0.
int components(QPDFObjectHandle space) {
  if (space.isName()) {
    if (space.getName() == "/DeviceRGB") return 3;
    if (space.getName() == "/DeviceGray") return 1;
    return 0;
  }
  if (space.isArray() && space.getArrayNItems() == 2 &&
      space.getArrayItem(0).isNameAndEquals("/ICCBased") && space.getArrayItem(1).isStream()) {
    QPDFObjectHandle n = space.getArrayItem(1).getDict().getKey("/N");
    if (n.isInteger() && (n.getIntValue() == 1 || n.getIntValue() == 3))
      return static_cast<int>(n.getIntValue());
  }
  return 0;
}

// Replaces `image`'s data with a JPEG at `quality`, reduced to fit `limit`
// pixels when given, if that makes it smaller. Images JPEG cannot hold as
// they are (masks, palettes, CMYK, other depths, remapped values) and data
// qpdf cannot decode are left alone.
void recompress(QPDFObjectHandle image, double quality,
                std::optional<std::pair<double, double>> limit) {
  QPDFObjectHandle dict = image.getDict();
  if (dict.getKey("/ImageMask").isBool() && dict.getKey("/ImageMask").getBoolValue()) return;
  if (dict.hasKey("/Decode") || !dict.getKey("/BitsPerComponent").isInteger() ||
      dict.getKey("/BitsPerComponent").getIntValue() != 8) {
    return;
  }
  const int bands = components(dict.getKey("/ColorSpace"));
  QPDFObjectHandle w = dict.getKey("/Width"), h = dict.getKey("/Height");
  if (bands == 0 || !w.isInteger() || !h.isInteger()) return;
  const long long width = w.getIntValue(), height = h.getIntValue();
  if (!withinPixelBudget(width, height)) return;

  std::shared_ptr<Buffer> pixels;
  try {
    pixels = image.getStreamData(qpdf_dl_all);
  } catch (const std::exception&) {
    return;  // a filter qpdf does not decode (JPEG 2000, JBIG2 ...)
  }
  if (static_cast<long long>(pixels->getSize()) != width * height * bands) return;
  vips::VImage picture =
      vips::VImage::new_from_memory(pixels->getBuffer(), pixels->getSize(), static_cast<int>(width),
                                    static_cast<int>(height), bands, VIPS_FORMAT_UCHAR);
  if (limit) {
    const double scale = std::min(limit->first / static_cast<double>(width),
                                  limit->second / static_cast<double>(height));
    if (scale < 1.0) picture = picture.resize(scale);
  }
  void* jpeg = nullptr;
  size_t size = 0;
  const int q = std::clamp(static_cast<int>(std::lround(quality * 100)), 1, 100);
  if (vips_jpegsave_buffer(picture.get_image(), &jpeg, &size, "Q", q, "strip", TRUE,
                           "optimize_coding", TRUE, "interlace", FALSE, nullptr) != 0) {
    vips_error_clear();
    return;
  }
  const Owned<void, g_free> owned(jpeg);
  if (size >= image.getRawStreamData()->getSize()) return;
  image.replaceStreamData(std::string(static_cast<const char*>(jpeg), size),
                          QPDFObjectHandle::newName("/DCTDecode"), QPDFObjectHandle::newNull());
  dict.replaceKey("/Width", QPDFObjectHandle::newInteger(picture.width()));
  dict.replaceKey("/Height", QPDFObjectHandle::newInteger(picture.height()));
  dict.replaceKey("/BitsPerComponent", QPDFObjectHandle::newInteger(8));
}

}  // namespace

std::string compressedPDF(const fs::path& url, double quality) {
  try {
    QPDF document;
    document.setSuppressWarnings(true);
    document.processFile(url.c_str());
    const bool forScreen = quality < screenThreshold;
    Placements::Sizes shown;
    std::map<QPDFObjGen, QPDFObjectHandle> images;
    std::map<QPDFObjGen, std::pair<double, double>>
        pageSizes;  // for images shown nowhere we can see
    for (QPDFPageObjectHelper& page : QPDFPageDocumentHelper(document).getAllPages()) {
      if (forScreen) {
        Placements placements(page.getImages(), shown);
        page.parseContents(&placements);
      }
      const QPDFObjectHandle::Rectangle r = page.getCropBox(true).getArrayAsRectangle();
      page.forEachImage(true, [&](QPDFObjectHandle& image, QPDFObjectHandle&, const std::string&) {
        images.emplace(image.getObjGen(), image);
        auto& [width, height] = pageSizes[image.getObjGen()];
        width = std::max(width, std::fabs(r.urx - r.llx));
        height = std::max(height, std::fabs(r.ury - r.lly));
      });
    }
    for (auto& [id, image] : images) {
      std::optional<std::pair<double, double>> limit;
      if (forScreen) {
        const auto placed = shown.find(id);
        const auto [width, height] = placed != shown.end() ? placed->second : pageSizes[id];
        limit = std::pair{std::ceil(width / 72.0 * screenResolution),
                          std::ceil(height / 72.0 * screenResolution)};
      }
      recompress(image, quality, limit);
    }
    QPDFWriter writer(document);
    writer.setOutputMemory();
    writer.setObjectStreamMode(qpdf_o_generate);
    writer.setCompressStreams(true);
    writer.write();
    const std::unique_ptr<Buffer> buffer(writer.getBuffer());
    return std::string(reinterpret_cast<const char*>(buffer->getBuffer()), buffer->getSize());
  } catch (const Failure&) {
    throw;
  } catch (const std::exception&) {
    throw Failure::encoding(translated("PDF optimization failed"));
  }
}

}  // namespace detail
}  // namespace MediaEngine
