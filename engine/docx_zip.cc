#include "engine/docx_zip.h"

#include <fcntl.h>
#include <glib.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zip.h>
#include <zlib.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <memory>
#include <new>

#include "engine/file_error.h"
#include "engine/formats.h"

namespace MediaEngine {
namespace {

// --- the document's parts ---------------------------------------------------

constexpr std::string_view declaration =
    R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)";

// ECMA-376 Transitional identifiers.
constexpr std::string_view wordprocessingML =
    "http://schemas.openxmlformats.org/wordprocessingml/2006/main";
constexpr std::string_view relationshipsNS =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
constexpr std::string_view wordprocessingDrawing =
    "http://schemas.openxmlformats.org/drawingml/2006/wordprocessingDrawing";
constexpr std::string_view drawingML = "http://schemas.openxmlformats.org/drawingml/2006/main";
constexpr std::string_view picture = "http://schemas.openxmlformats.org/drawingml/2006/picture";
constexpr std::string_view packageRelationships =
    "http://schemas.openxmlformats.org/package/2006/relationships";
constexpr std::string_view contentTypes =
    "http://schemas.openxmlformats.org/package/2006/content-types";
constexpr std::string_view officeDocumentType =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument";
constexpr std::string_view imageType =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships/image";

// 6.5 × 9 inches, the frame an image is fitted into, in English Metric Units.
constexpr long long frameWidthEMU = 5'943'600;
constexpr long long frameHeightEMU = 8'229'600;

std::string cat(std::initializer_list<std::string_view> pieces) {
  size_t size = 0;
  for (const std::string_view piece : pieces) size += piece.size();
  std::string joined;
  joined.reserve(size);
  for (const std::string_view piece : pieces) joined.append(piece);
  return joined;
}

void appendEscaped(std::string& out, std::string_view line) {
  for (const char c : xml(line)) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      case '\'':
        out += "&apos;";
        break;
      default:
        out.push_back(c);
    }
  }
}

void appendParagraphs(std::string& body, std::string_view text) {
  constexpr std::string_view open = R"(<w:p><w:r><w:t xml:space="preserve">)";
  constexpr std::string_view close = "</w:t></w:r></w:p>";
  size_t start = 0;
  for (size_t i = 0;;) {
    const size_t n = i < text.size() ? lineBreakAt(text.substr(i)) : 0;
    if (i == text.size() || n > 0) {
      body += open;
      appendEscaped(body, text.substr(start, i - start));
      body += close;
      if (i == text.size()) break;
      i += n;
      start = i;
    } else {
      ++i;
    }
  }
}

// The picture's size on the page: fitted into the frame, aspect ratio kept,
// enlarged as well as reduced. Integer arithmetic, so that the side that
// fills the frame is exactly the frame's.
std::pair<long long, long long> extentOf(long long width, long long height) {
  if (frameWidthEMU * height <= frameHeightEMU * width)
    return {frameWidthEMU, frameWidthEMU * height / width};
  return {frameHeightEMU * width / height, frameHeightEMU};
}

void appendImageParagraph(std::string& body, int width, int height) {
  const auto [cx, cy] = extentOf(width, height);
  const std::string x = std::to_string(cx), y = std::to_string(cy);
  body += cat(
      {R"(<w:p><w:r><w:drawing><wp:inline distT="0" distB="0" distL="0" distR="0"><wp:extent cx=")",
       x, R"(" cy=")", y,
       R"("/><wp:docPr id="1" name="Converted image"/><a:graphic><a:graphicData uri=")", picture,
       R"("><pic:pic><pic:nvPicPr><pic:cNvPr id="1" name="image.png"/><pic:cNvPicPr/></pic:nvPicPr>)"
       R"(<pic:blipFill><a:blip r:embed="rIdImage"/><a:stretch><a:fillRect/></a:stretch></pic:blipFill>)"
       R"(<pic:spPr><a:xfrm><a:off x="0" y="0"/><a:ext cx=")",
       x, R"(" cy=")", y,
       R"("/></a:xfrm><a:prstGeom prst="rect"><a:avLst/></a:prstGeom></pic:spPr></pic:pic>)"
       R"(</a:graphicData></a:graphic></wp:inline></w:drawing></w:r></w:p>)"});
}

// --- ZIP ---------------------------------------------------------------------

constexpr uint64_t fieldLimit = 0xFFFF'FFFF;
constexpr uint16_t version = 20;        // 2.0: stored entries and folders
constexpr uint16_t utf8Names = 0x0800;  // general-purpose flag bit 11
constexpr uint16_t stored = 0;
constexpr uint16_t midnight = 0;
constexpr uint16_t firstOfJanuary1980 = 33;  // MS-DOS date: day 1, month 1, year 0

// Writes little-endian fields and bytes at a moving position in a buffer
// sized beforehand.
class Cursor {
 public:
  explicit Cursor(std::byte* at) : at_(at) {}
  void u16(uint16_t value) {
    *at_++ = static_cast<std::byte>(value & 0xFF);
    *at_++ = static_cast<std::byte>(value >> 8);
  }
  void u32(uint64_t value) {
    u16(static_cast<uint16_t>(value & 0xFFFF));
    u16(static_cast<uint16_t>(value >> 16));
  }
  void append(std::span<const std::byte> data) {
    if (!data.empty()) std::memcpy(at_, data.data(), data.size());
    at_ += data.size();
  }
  void append(std::string_view text) { append(std::as_bytes(std::span(text))); }
  // The fields a local header and a central directory header share, from
  // "version needed" to "extra field length".
  void entryFields(uint32_t crc, uint64_t size, uint16_t nameLength) {
    u16(version);
    u16(utf8Names);
    u16(stored);
    u16(midnight);
    u16(firstOfJanuary1980);
    u32(crc);
    u32(size);  // compressed
    u32(size);  // uncompressed
    u16(nameLength);
    u16(0);  // extra field length
  }

 private:
  std::byte* at_;
};

// --- reading -----------------------------------------------------------------

struct Closer {
  void operator()(zip_t* archive) const { zip_discard(archive); }
  void operator()(zip_file_t* file) const { zip_fclose(file); }
};

[[noreturn]] void refuse(const std::string& detail) { throw Failure::encoding("unzip: " + detail); }

}  // namespace

std::string xml(std::string_view text) {
  std::string kept;
  kept.reserve(text.size());
  for (size_t at = 0; at < text.size();) {
    const char* start = text.data() + at;
    const gunichar c = g_utf8_get_char_validated(start, static_cast<gssize>(text.size() - at));
    if (c == static_cast<gunichar>(-1) || c == static_cast<gunichar>(-2)) {
      ++at;  // not UTF-8
      continue;
    }
    const size_t length = static_cast<size_t>(g_utf8_next_char(start) - start);
    const bool allowed =
        c == 0x09 || c == 0x0A || c == 0x0D || (c >= 0x20 && c != 0xFFFE && c != 0xFFFF);
    if (allowed) kept.append(start, length);
    at += length;
  }
  return kept;
}

Bytes docx(std::optional<std::string_view> text, const std::optional<Image>& image) {
  std::string document =
      cat({declaration, R"(<w:document xmlns:w=")", wordprocessingML, R"(" xmlns:r=")",
           relationshipsNS, R"(" xmlns:wp=")", wordprocessingDrawing, R"(" xmlns:a=")", drawingML,
           R"(" xmlns:pic=")", picture, R"("><w:body>)"});
  if (text) appendParagraphs(document, *text);
  if (image) appendImageParagraph(document, image->width(), image->height());
  document +=
      R"(<w:sectPr><w:pgSz w:w="12240" w:h="15840"/><w:pgMar w:top="1080" w:right="1080" w:bottom="1080" )"
      R"(w:left="1080"/></w:sectPr></w:body></w:document>)";

  const std::string types = cat(
      {declaration, R"(<Types xmlns=")", contentTypes,
       R"("><Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/>)"
       R"(<Default Extension="xml" ContentType="application/xml"/><Default Extension="png" ContentType="image/png"/>)"
       R"(<Override PartName="/word/document.xml" )"
       R"(ContentType="application/vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml"/></Types>)"});
  const std::string packageRels =
      cat({declaration, R"(<Relationships xmlns=")", packageRelationships,
           R"("><Relationship Id="rIdDocument" Type=")", officeDocumentType,
           R"(" Target="word/document.xml"/></Relationships>)"});
  const auto bytesOf = [](const std::string& s) { return std::as_bytes(std::span(s)); };

  std::vector<ZipEntry> entries;
  Bytes png;
  std::string documentRels;
  if (image) {
    png = encodedImage(*image, "png", 1.0);
    documentRels = cat({declaration, R"(<Relationships xmlns=")", packageRelationships,
                        R"("><Relationship Id="rIdImage" Type=")", imageType,
                        R"(" Target="media/image.png"/></Relationships>)"});
    entries.push_back({"word/media/image.png", png.span()});
    entries.push_back({"word/_rels/document.xml.rels", bytesOf(documentRels)});
  }
  entries.push_back({"word/document.xml", bytesOf(document)});
  entries.push_back({"[Content_Types].xml", bytesOf(types)});
  entries.push_back({"_rels/.rels", bytesOf(packageRels)});
  return zip(entries);
}

uint32_t crc32(std::span<const std::byte> data) {
  // zlib's implementation of the same CRC, which handles several bytes per step.
  uLong crc = ::crc32(0L, Z_NULL, 0);
  while (!data.empty()) {
    const size_t chunk = std::min<size_t>(data.size(), std::numeric_limits<uInt>::max());
    crc = ::crc32(crc, reinterpret_cast<const Bytef*>(data.data()), static_cast<uInt>(chunk));
    data = data.subspan(chunk);
  }
  return static_cast<uint32_t>(crc);
}

Bytes zip(const std::vector<ZipEntry>& entries) {
  // Sizes first: the archive is allocated once, the local records written
  // from its start and the central directory right after them.
  uint64_t localSize = 0, directorySize = 0;
  for (const ZipEntry& entry : entries) {
    if (entry.data.size() >= fieldLimit || localSize >= fieldLimit) throw Failure::tooLarge();
    localSize += 30 + entry.name.size() + entry.data.size();
    directorySize += 46 + entry.name.size();
  }
  if (localSize >= fieldLimit || directorySize >= fieldLimit) throw Failure::tooLarge();

  const size_t total = localSize + directorySize + 22;
  void* buffer = std::malloc(total);
  if (!buffer) throw std::bad_alloc();
  Bytes archive = Bytes::adopt(buffer, total, std::free);
  auto* start = static_cast<std::byte*>(buffer);
  Cursor local(start), directory(start + localSize);
  uint64_t offset = 0;
  for (const ZipEntry& entry : entries) {
    const uint32_t crc = crc32(entry.data);
    const auto nameLength = static_cast<uint16_t>(entry.name.size());

    local.u32(0x04034B50);
    local.entryFields(crc, entry.data.size(), nameLength);
    local.append(entry.name);
    local.append(entry.data);

    directory.u32(0x02014B50);
    directory.u16(version);  // made by: 2.0, MS-DOS attributes
    directory.entryFields(crc, entry.data.size(), nameLength);
    directory.u16(0);  // comment length
    directory.u16(0);  // disk number start
    directory.u16(0);  // internal attributes
    directory.u32(0);  // external attributes
    directory.u32(offset);
    directory.append(entry.name);
    offset += 30 + entry.name.size() + entry.data.size();
  }

  const auto count = static_cast<uint16_t>(entries.size());
  directory.u32(0x06054B50);
  directory.u16(0);  // this disk
  directory.u16(0);  // disk where the directory starts
  directory.u16(count);
  directory.u16(count);
  directory.u32(directorySize);
  directory.u32(localSize);
  directory.u16(0);  // comment length
  return archive;
}

namespace detail {

std::string packageMember(const std::filesystem::path& package, std::string_view member,
                          size_t maximumBytes) {
  const std::string name = package.filename().string();
  {
    // Opened here first so that a missing or unreadable file reports the
    // system's own reason.
    const int fd = ::open(package.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) throwFileError(errno, "Could not read", package);
    struct stat info {};
    const bool empty = ::fstat(fd, &info) == 0 && info.st_size == 0;
    ::close(fd);
    if (empty) refuse(name + " is not a ZIP package");  // libzip would take it for an empty one
  }
  int code = 0;
  std::unique_ptr<zip_t, Closer> archive(zip_open(package.c_str(), ZIP_RDONLY, &code));
  if (!archive) {
    if (code == ZIP_ER_NOZIP || code == ZIP_ER_INCONS) refuse(name + " is not a ZIP package");
    zip_error_t error;
    zip_error_init_with_code(&error, code);
    const std::string text = zip_error_strerror(&error);
    zip_error_fini(&error);
    refuse(name + ": " + text);
  }

  const std::string memberName(member);
  const zip_int64_t index = zip_name_locate(archive.get(), memberName.c_str(), ZIP_FL_ENC_RAW);
  if (index < 0) refuse(name + " has no member " + memberName);
  std::unique_ptr<zip_file_t, Closer> file(
      zip_fopen_index(archive.get(), static_cast<zip_uint64_t>(index), 0));
  if (!file) refuse(memberName + " in " + name + " cannot be read: " + zip_strerror(archive.get()));

  std::string content;
  char buffer[1 << 16];
  for (;;) {
    const zip_int64_t n = zip_fread(file.get(), buffer, sizeof buffer);
    if (n < 0) refuse(memberName + " in " + name + " is damaged: " + zip_file_strerror(file.get()));
    if (n == 0) break;
    if (static_cast<size_t>(n) > maximumBytes - content.size()) throw Failure::tooLarge();
    content.append(buffer, static_cast<size_t>(n));
  }
  return content;
}

}  // namespace detail
}  // namespace MediaEngine
