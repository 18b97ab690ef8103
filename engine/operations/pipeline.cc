// SPDX-License-Identifier: GPL-3.0-or-later
#include "whirlpane/pipeline.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <optional>

#include "base/file_io.h"
#include "base/handles.h"
#include "base/pdf_password.h"
#include "documents/document_support.h"
#include "files/output_placement.h"
#include "image/image_decoding.h"
#include "image/image_encoding.h"
#include "whirlpane/failure.h"
#include "whirlpane/formats.h"

namespace MediaEngine {
namespace {

namespace fs = std::filesystem;

constexpr double conversionQuality = 0.9;

enum class SourceKind { pdf, textDocument, image };

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
  const UniqueFd fd(::open(source.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
  if (!fd) throwFileError(errno, "Could not open \"%1$s\": %2$s", source);
  struct stat info;
  if (::fstat(fd.get(), &info) != 0) throwFileError(errno, "Could not open \"%1$s\": %2$s", source);
  if (S_ISDIR(info.st_mode)) throwFileError(EISDIR, "Could not open \"%1$s\": %2$s", source);
  if (!S_ISREG(info.st_mode)) throw Failure::unreadable(source.filename().string());
}

// True when `path`, named by a failure, is `folder` or a file or working
// file in it; the source itself is not.
bool isInOutputFolder(const fs::path& path, const fs::path& folder, const fs::path& source) {
  const fs::path normal = path.lexically_normal();
  if (normal == source.lexically_normal()) return false;
  const fs::path target = folder.lexically_normal();
  for (fs::path at = normal; at.has_relative_path(); at = at.parent_path()) {
    if (at == target) return true;
    if (at.filename().string().starts_with(".whirlpane-")) continue;  // our working files
    if (at != normal) return false;
  }
  return false;
}

std::vector<fs::path> convertInto(const fs::path& source, const std::string& canonical,
                                  const fs::path& outputFolder) {
  const SourceKind kind = kindOf(source);

  std::optional<ImageSource> image;
  if (kind == SourceKind::image) {
    image = ImageSource::open(source);
    if (image && image->frameCount() > 1) {
      throw discardedFrames();
    }
  }

  // A picture makes one output whatever the format; only it skips the folder.
  BatchFolder batch = kind == SourceKind::image
                          ? BatchFolder::forOneOutput(source, canonical, outputFolder)
                          : BatchFolder(source, canonical, outputFolder);
  // PDFs, text documents and the document formats are the documents
  // library's, loaded here on first need.
  if (canonical == "txt") {
    batch.stage(Bytes::copyOf(detail::documentSupport().extractText(source)), "");
    return batch.publish();
  }
  if (canonical == "docx") {
    const detail::DocumentSupport& documents = detail::documentSupport();
    if (kind != SourceKind::image) {
      batch.stage(documents.docx(documents.extractText(source), std::nullopt), "");
    } else if (image) {
      batch.stage(documents.docx(std::nullopt, image->decode()), "");
    } else {
      throw Failure::unreadable(source.filename().string());
    }
    return batch.publish();
  }
  if (kind == SourceKind::textDocument) {
    detail::documentSupport().stageTextDocument(batch, source, canonical, conversionQuality);
    return batch.publish();
  }
  if (kind == SourceKind::pdf) {
    detail::documentSupport().stagePDF(batch, source, canonical, conversionQuality);
    return batch.publish();
  }
  if (!image) throw Failure::unreadable(source.filename().string());
  if (canonical == "pdf") {
    const detail::DocumentSupport& documents = detail::documentSupport();
    std::optional<Bytes> page;
    if (image->isPlainJPEG()) {
      page = documents.jpegPDF(detail::readWholeFile(source).span(),
                               static_cast<int>(image->storedWidth()),
                               static_cast<int>(image->storedHeight()));
    }
    batch.stage(page ? std::move(*page) : documents.imagePDF(image->decode()), "");
  } else {
    // Formats whose encoder writes a file as it goes go straight into theirs.
    batch.stageWritten(
        [&](int fd, const fs::path& path) {
          if (!writeEncoded(*image, canonical, conversionQuality, fd, path))
            detail::writeAll(fd, encodedImage(*image, canonical, conversionQuality).span(), path);
        },
        "");
  }
  return batch.publish();
}

}  // namespace

void usePDFPassword(std::string password) { detail::setPDFPassword(std::move(password)); }

bool needsPDFPassword(const std::exception& error) {
  const auto* failure = dynamic_cast<const Failure*>(&error);
  return failure && (failure->kind() == Failure::Kind::lockedPDF ||
                     failure->kind() == Failure::Kind::wrongPassword);
}

std::vector<fs::path> convert(const fs::path& source, std::string_view format,
                              const fs::path& outputFolder) {
  const std::string canonical = normalized(format);
  checkReadable(source);
  const fs::path folder = outputFolder.empty() ? source.parent_path() : outputFolder;
  try {
    return convertInto(source, canonical, outputFolder);
  } catch (const std::filesystem::filesystem_error& error) {
    // Our working files and the system's words for them mean nothing to the
    // user: a full disk or a folder that may not be written is told in terms
    // of the folder and the file they chose.
    if (!isInOutputFolder(error.path1(), folder, source)) throw;
    std::optional<Failure> failure =
        savingFailure(error.code().value(), folder, source.stem().string() + "." + canonical);
    if (!failure) throw;
    throw *failure;
  }
}

}  // namespace MediaEngine
