// SPDX-License-Identifier: GPL-3.0-or-later
#include "whirlpane/metadata.h"

#include <fcntl.h>
#include <gio/gio.h>
#include <lcms2.h>
#include <sys/stat.h>
#include <vips/vips.h>
#include <zlib.h>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <exiv2/bmffimage.hpp>
#include <exiv2/bmpimage.hpp>
#include <exiv2/exiv2.hpp>
#include <exiv2/gifimage.hpp>
#include <exiv2/webpimage.hpp>
#include <map>
#include <memory>
#include <mutex>
#include <optional>

#include "base/byte_order.h"
#include "base/handles.h"
#include "base/unicode.h"
#include "documents/document_support.h"
#include "image/codec_runtime.h"
#include "image/image_decoding.h"
#include "whirlpane/failure.h"
#include "whirlpane/formats.h"

namespace MediaEngine {
namespace {

namespace fs = std::filesystem;

constexpr size_t rowLimit = 250;
constexpr size_t valueLimit = 2000;

// An image's properties: a tree of named values, each name unique in its
// dictionary, walked in code-point order (std::string compares bytes, and
// UTF-8's byte order is code-point order).
struct Property;
using Properties = std::map<std::string, Property>;
struct Property {
  std::string value;
  std::unique_ptr<Properties> children;
};

void put(Properties& properties, const std::string& key, std::string value) {
  properties[key].value = std::move(value);
}

Properties& group(Properties& properties, const std::string& name) {
  Property& entry = properties[name];
  if (!entry.children) entry.children = std::make_unique<Properties>();
  return *entry.children;
}

std::string iso8601(time_t seconds) {
  std::tm utc{};
  gmtime_r(&seconds, &utc);
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &utc);
  return text;
}

// A number as a person would write it: integers without a decimal point,
// others with up to ten significant digits and no trailing zeros.
std::string number(double value) {
  if (!std::isfinite(value)) return value > 0 ? "inf" : value < 0 ? "-inf" : "nan";
  char text[40];
  if (value == std::trunc(value) && std::fabs(value) < 1e15) {
    std::snprintf(text, sizeof text, "%.0f", value);
  } else {
    std::snprintf(text, sizeof text, "%.10g", value);
  }
  return text;
}

std::string listed(const std::vector<std::string>& items) {
  if (items.size() == 1) return items[0];
  std::string text = "(";
  for (size_t i = 0; i < items.size(); ++i) text += (i ? ", " : "") + items[i];
  return text + ")";
}

// Appends `properties` below `prefix`, as the editor lists them.
void append(std::vector<MetadataRow>& rows, const Properties& properties,
            const std::string& prefix) {
  for (const auto& [key, property] : properties) {
    const std::string label = prefix.empty() ? key : prefix + " \u00b7 " + key;
    if (property.children) {
      std::string_view inner = label;
      while (!inner.empty() && (inner.front() == '{' || inner.front() == '}'))
        inner.remove_prefix(1);
      while (!inner.empty() && (inner.back() == '{' || inner.back() == '}')) inner.remove_suffix(1);
      append(rows, *property.children, std::string(inner));
    } else if (rows.size() < rowLimit) {
      rows.emplace_back(label, firstCharacters(property.value, valueLimit));
    }
  }
}

// --- file facts -------------------------------------------------------------

// The MIME type of the file open at `fd` and named `url`. Where the name and
// the content disagree, the content decides: the name's type stands when the
// content is of that type or of a more general one (a DOCX file is a ZIP
// archive, a CSV file plain text) or when there is no content, and otherwise
// the content's type does, so that random bytes named ".jpg" are not a JPEG.
std::optional<std::string> contentType(const fs::path& url, int fd) {
  std::vector<unsigned char> head(64 * 1024);  // past the deepest rule of the MIME database
  const ssize_t got = ::pread(fd, head.data(), head.size(), 0);
  using Type = Owned<gchar, g_free>;
  const Type byName(g_content_type_guess(url.filename().c_str(), nullptr, 0, nullptr));
  Type chosen;
  if (got <= 0) {
    chosen.reset(g_strdup(byName.get()));
  } else {
    gboolean uncertain = FALSE;
    Type byContent(g_content_type_guess(nullptr, head.data(), static_cast<gsize>(got), &uncertain));
    // Unrecognised binary content is a kind of everything; it confirms nothing.
    const bool confirmed = g_content_type_equals(byName.get(), byContent.get()) ||
                           (!uncertain && g_content_type_is_a(byName.get(), byContent.get()));
    chosen = confirmed ? Type(g_strdup(byName.get())) : std::move(byContent);
  }
  const Type mime(g_content_type_get_mime_type(chosen.get()));
  if (!mime) return std::nullopt;
  return std::string(mime.get());
}

// --- the decoder's own fields ---------------------------------------------------

std::optional<std::string> profileName(const void* data, size_t size) {
  cmsHPROFILE profile = cmsOpenProfileFromMem(data, static_cast<cmsUInt32Number>(size));
  if (!profile) return std::nullopt;
  char name[256] = {};
  const cmsUInt32Number length =
      cmsGetProfileInfoASCII(profile, cmsInfoDescription, "en", "US", name, sizeof name);
  cmsCloseProfile(profile);
  if (length == 0 || !name[0]) return std::nullopt;
  return std::string(name);
}

// JFIF's APP0 segment, which comes first in a JFIF file when it is there.
void addJFIF(Properties& properties, const fs::path& url) {
  const UniqueFd fd(::open(url.c_str(), O_RDONLY | O_CLOEXEC));
  if (!fd) return;
  unsigned char head[20] = {};
  const ssize_t n = ::pread(fd.get(), head, sizeof head, 0);
  if (n < 18 || head[0] != 0xFF || head[1] != 0xD8 || head[2] != 0xFF || head[3] != 0xE0) return;
  if (std::string_view(reinterpret_cast<const char*>(head + 6), 5) != std::string_view("JFIF\0", 5))
    return;
  Properties& jfif = group(properties, "{JFIF}");
  put(jfif, "JFIFVersion", "(" + std::to_string(head[11]) + ", " + std::to_string(head[12]) + ")");
  put(jfif, "DensityUnit", std::to_string(head[13]));
  put(jfif, "XDensity", std::to_string(bigEndian<2>(head + 14)));
  put(jfif, "YDensity", std::to_string(bigEndian<2>(head + 16)));
}

// The text of a tEXt or zTXt chunk. The format says Latin-1, but many
// writers (libvips among them) store UTF-8 there; text that is valid UTF-8 is
// taken as such, since Latin-1 text rarely is.
std::optional<std::string> latin1OrUTF8(std::string_view bytes) {
  if (g_utf8_validate_len(bytes.data(), bytes.size(), nullptr)) return std::string(bytes);
  gchar* utf8 = g_convert(bytes.data(), static_cast<gssize>(bytes.size()), "UTF-8", "ISO-8859-1",
                          nullptr, nullptr, nullptr);
  if (!utf8) return std::nullopt;
  std::string text(utf8);
  g_free(utf8);
  return text;
}

// PNG's text chunks (tEXt, zTXt, iTXt), read from the file itself: the
// decoder keeps only the first few dozen. Each text is read to at most 64 KB
// (compressed ones inflated to at most that), more than any row shows.
void addPNGText(Properties& properties, const fs::path& url) {
  const UniqueFd file(::open(url.c_str(), O_RDONLY | O_CLOEXEC));
  if (!file) return;
  const int fd = file.get();
  constexpr size_t textLimit = 64 * 1024;
  unsigned char signature[8];
  off_t at = 8;
  if (::pread(fd, signature, 8, 0) == 8 && std::memcmp(signature, "\x89PNG\r\n\x1a\n", 8) == 0) {
    for (int chunks = 0; chunks < 100'000; ++chunks) {
      unsigned char header[8];
      if (::pread(fd, header, 8, at) != 8) break;
      const uint32_t length = bigEndian<4>(header);
      const std::string type(reinterpret_cast<const char*>(header + 4), 4);
      if (type == "IEND" || length > 0x7FFFFFFF) break;
      if (type == "tEXt" || type == "zTXt" || type == "iTXt") {
        std::string data(std::min<size_t>(length, textLimit), '\0');
        if (::pread(fd, data.data(), data.size(), at + 8) != static_cast<ssize_t>(data.size()))
          break;
        const size_t nul = data.find('\0');
        if (nul != std::string::npos && nul > 0) {
          const std::string keyword = data.substr(0, nul);
          std::optional<std::string> text;
          if (type == "tEXt") {
            text = latin1OrUTF8(std::string_view(data).substr(nul + 1));
          } else {
            // zTXt: method byte, deflated text. iTXt: flag, method, language\0, keyword\0, text.
            size_t start = nul + 1;
            bool compressed = type == "zTXt";
            if (type == "iTXt" && start + 2 <= data.size()) {
              compressed = data[start] != 0;
              start += 2;
              for (int skip = 0; skip < 2 && start <= data.size(); ++skip) {
                const size_t end = data.find('\0', start);
                start = end == std::string::npos ? data.size() + 1 : end + 1;
              }
            } else if (type == "zTXt") {
              start += 1;
            }
            if (start <= data.size()) {
              std::string body = data.substr(start);
              if (compressed) {
                std::string inflated(textLimit, '\0');
                uLongf size = inflated.size();
                const int status =
                    ::uncompress(reinterpret_cast<Bytef*>(inflated.data()), &size,
                                 reinterpret_cast<const Bytef*>(body.data()), body.size());
                if (status == Z_OK || status == Z_BUF_ERROR) {
                  inflated.resize(size);
                  body = std::move(inflated);
                } else {
                  body.clear();
                }
              }
              if (type == "zTXt") {
                text = latin1OrUTF8(body);
              } else if (g_utf8_validate_len(body.data(), body.size(), nullptr)) {
                text = body;
              }
            }
          }
          if (text) put(group(properties, "{PNG}"), keyword, *text);
        }
      }
      at += 12 + static_cast<off_t>(length);
    }
  }
}

void addDecoderFields(Properties& properties, const fs::path& url, const ImageSource& source) {
  put(properties, "PixelWidth", std::to_string(source.storedWidth()));
  put(properties, "PixelHeight", std::to_string(source.storedHeight()));
  VipsImage* image =
      vips_image_new_from_file(url.c_str(), "access", VIPS_ACCESS_SEQUENTIAL, nullptr);
  if (!image) {
    vips_error_clear();
    return;
  }
  switch (image->Type) {
    case VIPS_INTERPRETATION_sRGB:
    case VIPS_INTERPRETATION_RGB:
    case VIPS_INTERPRETATION_RGB16:
    case VIPS_INTERPRETATION_scRGB:
      put(properties, "ColorModel", "RGB");
      break;
    case VIPS_INTERPRETATION_B_W:
    case VIPS_INTERPRETATION_GREY16:
      put(properties, "ColorModel", "Gray");
      break;
    case VIPS_INTERPRETATION_CMYK:
      put(properties, "ColorModel", "CMYK");
      break;
    case VIPS_INTERPRETATION_LAB:
    case VIPS_INTERPRETATION_LABQ:
    case VIPS_INTERPRETATION_LABS:
      put(properties, "ColorModel", "Lab");
      break;
    default:
      break;
  }
  put(properties, "Depth", std::to_string(vips_format_sizeof(image->BandFmt) * 8));
  put(properties, "HasAlpha", vips_image_hasalpha(image) ? "1" : "0");
  int integer = 0;
  if (vips_image_get_typeof(image, "orientation") &&
      vips_image_get_int(image, "orientation", &integer) == 0) {
    put(properties, "Orientation", std::to_string(integer));
  }
  if (vips_image_get_typeof(image, "resolution-unit")) {
    put(properties, "DPIWidth", number(std::round(image->Xres * 25.4 * 100) / 100));
    put(properties, "DPIHeight", number(std::round(image->Yres * 25.4 * 100) / 100));
  }
  const void* data = nullptr;
  size_t size = 0;
  if (vips_image_get_typeof(image, VIPS_META_ICC_NAME) &&
      vips_image_get_blob(image, VIPS_META_ICC_NAME, &data, &size) == 0) {
    if (auto name = profileName(data, size)) put(properties, "ProfileName", *name);
  }
  if (vips_image_get_typeof(image, "jpeg-multiscan") &&
      vips_image_get_int(image, "jpeg-multiscan", &integer) == 0) {
    put(group(properties, "{JFIF}"), "IsProgressive", integer ? "1" : "0");
  }
  if (vips_image_get_typeof(image, "loop") && vips_image_get_int(image, "loop", &integer) == 0) {
    put(group(properties, "{GIF}"), "LoopCount", std::to_string(integer));
  }
  g_object_unref(image);
  vips_error_clear();
}

// --- embedded metadata through exiv2 ------------------------------------------

// The value as text, or nullopt for binary data.
std::optional<std::string> described(const Exiv2::Metadatum& datum) {
  const Exiv2::TypeId type = datum.typeId();
  const long count = datum.count();
  switch (type) {
    case Exiv2::undefined:
      return std::nullopt;
    case Exiv2::unsignedByte:
    case Exiv2::signedByte:
      if (count > 8) return std::nullopt;
      break;
    case Exiv2::asciiString:
    case Exiv2::string:
    case Exiv2::comment:
    case Exiv2::date:
    case Exiv2::time:
    case Exiv2::xmpText:
    case Exiv2::xmpAlt:
    case Exiv2::xmpBag:
    case Exiv2::xmpSeq:
    case Exiv2::langAlt: {
      std::string text = datum.toString();
      while (!text.empty() && (text.back() == '\0' || text.back() == ' ')) text.pop_back();
      return text;
    }
    default:
      break;
  }
  if (count < 1) return std::nullopt;
  const bool rational = type == Exiv2::unsignedRational || type == Exiv2::signedRational;
  std::vector<std::string> items;
  for (long i = 0; i < count && i < 64; ++i) {
    if (rational) {
      const Exiv2::Rational r = datum.toRational(i);
      items.push_back(r.second == 0 ? "0" : number(static_cast<double>(r.first) / r.second));
    } else {
      items.push_back(number(static_cast<double>(datum.toFloat(i))));
    }
  }
  return listed(items);
}

// Degrees, minutes and seconds as decimal degrees, as in the GPS dictionary
// of other platforms.
std::optional<std::string> degrees(const Exiv2::Metadatum& datum) {
  if (datum.count() != 3) return std::nullopt;
  double parts[3] = {};
  for (long i = 0; i < 3; ++i) {
    const Exiv2::Rational r = datum.toRational(i);
    if (r.second == 0) return std::nullopt;
    parts[i] = static_cast<double>(r.first) / r.second;
  }
  const double value = parts[0] + parts[1] / 60.0 + parts[2] / 3600.0;
  return number(std::round(value * 1e7) / 1e7);
}

void addExif(Properties& properties, const Exiv2::ExifData& exif) {
  for (const Exiv2::Exifdatum& datum : exif) {
    const std::string groupName = datum.groupName();
    std::string tag = datum.tagName();
    const char* dictionary = nullptr;
    if (groupName == "Image") dictionary = "{TIFF}";
    if (groupName == "Photo") dictionary = "{Exif}";
    if (groupName == "GPSInfo") {
      dictionary = "{GPS}";
      if (tag.starts_with("GPS")) tag.erase(0, 3);
    }
    // Thumbnails, maker notes, unknown tags, and the pointers between the
    // file's directories, which say nothing about the picture.
    if (!dictionary || tag.starts_with("0x") || tag == "ExifTag" || tag == "GPSTag" ||
        tag == "InteroperabilityTag") {
      continue;
    }
    std::optional<std::string> value = dictionary[1] == 'G' &&
                                               tag.find("itude") != std::string::npos &&
                                               !tag.ends_with("Ref") && tag != "Altitude"
                                           ? degrees(datum)
                                           : std::nullopt;
    if (!value) value = described(datum);
    if (value) put(group(properties, dictionary), tag, std::move(*value));
  }
}

void addIPTC(Properties& properties, const Exiv2::IptcData& iptc) {
  std::map<std::string, std::vector<std::string>> values;
  for (const Exiv2::Iptcdatum& datum : iptc) {
    if (auto value = described(datum)) values[datum.tagName()].push_back(std::move(*value));
  }
  for (const auto& [tag, items] : values) put(group(properties, "{IPTC}"), tag, listed(items));
}

void addXMP(Properties& properties, const Exiv2::XmpData& xmp) {
  for (const Exiv2::Xmpdatum& datum : xmp) {
    if (auto value = described(datum))
      put(group(properties, "{XMP}"), datum.groupName() + ":" + datum.tagName(), *value);
  }
}

void addEmbedded(Properties& properties, const fs::path& url) {
  static std::once_flag once;
  std::call_once(once, [] {
    Exiv2::LogMsg::setLevel(Exiv2::LogMsg::mute);
    Exiv2::XmpParser::initialize();
    Exiv2::enableBMFF(true);
  });
  try {
    // Only the formats the engine decodes itself reach exiv2's parsers.
    static constexpr int readable[] = {Exiv2::ImageType::jpeg, Exiv2::ImageType::png,
                                       Exiv2::ImageType::tiff, Exiv2::ImageType::webp,
                                       Exiv2::ImageType::gif,  Exiv2::ImageType::bmp,
                                       Exiv2::ImageType::bmff};
    const int type = Exiv2::ImageFactory::getType(url.string());
    if (std::find(std::begin(readable), std::end(readable), type) == std::end(readable)) return;
    const Exiv2::Image::AutoPtr image = Exiv2::ImageFactory::open(url.string());
    image->readMetadata();
    addExif(properties, image->exifData());
    addIPTC(properties, image->iptcData());
    addXMP(properties, image->xmpData());
    if (!image->comment().empty()) put(group(properties, "{JFIF}"), "Comment", image->comment());
  } catch (const std::exception&) {
    // Damaged metadata leaves the rows the decoder gave.
  }
}

}  // namespace

std::vector<MetadataRow> metadata(const fs::path& url) {
  struct statx info {};
  if (::statx(AT_FDCWD, url.c_str(), 0, STATX_BASIC_STATS | STATX_BTIME, &info) != 0) {
    throwFileError(errno, "Could not read \"%1$s\": %2$s", url);
  }
  if (!S_ISREG(info.stx_mode)) throw Failure::unreadable(url.filename().string());
  // Facts about a file its user may not read are not listed.
  const UniqueFd file(::open(url.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
  if (!file) throwFileError(errno, "Could not read \"%1$s\": %2$s", url);

  std::vector<MetadataRow> rows;
  const std::string extension = lowerExtension(url);
  rows.emplace_back("File", url.filename().string());
  rows.emplace_back("Format",
                    upperCased(url.has_extension() ? url.extension().string().substr(1) : ""));
  rows.emplace_back("Size", byteCount(static_cast<long long>(info.stx_size)));
  rows.emplace_back("Bytes", std::to_string(info.stx_size));
  if (info.stx_mask & STATX_BTIME) rows.emplace_back("Created", iso8601(info.stx_btime.tv_sec));
  if (info.stx_mask & STATX_MTIME) rows.emplace_back("Modified", iso8601(info.stx_mtime.tv_sec));
  if (auto type = contentType(url, file.get())) rows.emplace_back("Content type", *type);

  if (extension == "pdf") {
    detail::documentSupport().appendPDFMetadata(rows, url, iso8601);
    return rows;
  }
  detail::startImageLibrary();
  const std::optional<ImageSource> source = ImageSource::open(url);
  if (!source) return rows;
  rows.emplace_back("Frames", std::to_string(source->frameCount()));
  rows.emplace_back("Dimensions", std::to_string(source->storedWidth()) + " \u00d7 " +
                                      std::to_string(source->storedHeight()) + " px");
  Properties properties;
  addDecoderFields(properties, url, *source);
  addJFIF(properties, url);
  addPNGText(properties, url);
  addEmbedded(properties, url);
  append(rows, properties, "");
  return rows;
}

std::string byteCount(long long bytes) {
  if (bytes == 0) return "Zero KB";
  if (bytes < 0) return "-" + byteCount(-bytes);
  if (bytes < 1000) return std::to_string(bytes) + (bytes == 1 ? " byte" : " bytes");
  static constexpr std::array<std::pair<const char*, int>, 6> units{
      {{"KB", 0}, {"MB", 1}, {"GB", 2}, {"TB", 2}, {"PB", 2}, {"EB", 2}}};
  double value = static_cast<double>(bytes) / 1000.0;
  size_t unit = 0;
  for (;;) {
    const double scale = std::pow(10.0, units[unit].second);
    const double rounded = std::round(value * scale) / scale;
    if (rounded < 1000.0 || unit + 1 == units.size()) {
      char text[32];
      std::snprintf(text, sizeof text, "%.*f", units[unit].second, rounded);
      std::string shown(text);
      if (shown.find('.') != std::string::npos) {
        while (shown.back() == '0') shown.pop_back();
        if (shown.back() == '.') shown.pop_back();
      }
      return shown + " " + units[unit].first;
    }
    value /= 1000.0;
    ++unit;
  }
}

}  // namespace MediaEngine
