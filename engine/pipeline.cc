#include "engine/pipeline.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <optional>

#include "engine/file_error.h"
#include "engine/formats.h"
#include "engine/image_codec.h"
#include "engine/output_placement.h"

namespace MediaEngine {
namespace {

namespace fs = std::filesystem;

constexpr double conversionQuality = 0.9;

enum class SourceKind { pdf, textDocument, image };

std::string lowerExtension(const fs::path& path) {
  std::string ext = path.extension().string();
  if (!ext.empty()) ext.erase(0, 1);
  for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return ext;
}

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
  const int fd = ::open(source.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) throwFileError(errno, "Could not open", source);
  struct stat info;
  const int status = ::fstat(fd, &info);
  const int error = errno;
  ::close(fd);
  if (status != 0) throwFileError(error, "Could not open", source);
  if (S_ISDIR(info.st_mode)) throwFileError(EISDIR, "Could not open", source);
  if (!S_ISREG(info.st_mode)) throw Failure::unreadable(source.filename().string());
}

// Routes that arrive with later parts of the engine fail cleanly, before any
// working folder is made.
void requireAvailableRoute(SourceKind kind, const std::string& format, const fs::path& source) {
  if (kind == SourceKind::image && isRaster(format)) return;
  const std::string from = kind == SourceKind::image ? "images" : upperCased(lowerExtension(source)) + " files";
  throw Failure::unsupported("Converting " + from + " to " + upperCased(format) + " is not supported yet.");
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
      throw Failure::unsupported(
          "This operation would discard additional image frames. Convert individual frames first.");
    }
  }
  requireAvailableRoute(kind, canonical, source);

  BatchFolder batch(source, canonical);
  if (!image) throw Failure::unreadable(source.filename().string());
  batch.stage(encodedImage(*image, canonical, conversionQuality), "");
  return batch.publish();
}

}  // namespace MediaEngine
