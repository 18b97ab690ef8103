// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/output_placement.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <climits>
#include <stdexcept>
#include <system_error>

#include "base/file_io.h"
#include "base/handles.h"
#include "base/translation.h"
#include "base/unicode.h"
#include "files/working_files.h"
#include "whirlpane/failure.h"
#include "whirlpane/formats.h"

namespace MediaEngine {
namespace {

namespace fs = std::filesystem;

constexpr int attemptLimit = 100;

// Flushes what was written to `fd` to the disk and closes it; `path` only
// names the file in an error.
void syncAndClose(UniqueFd fd, const fs::path& path) {
  // The data must be on the disk before the name becomes real, or a power cut
  // could leave an empty file under the published name.
  int error = ::fdatasync(fd.get()) != 0 ? errno : 0;
  const int closed = fd.close();
  if (error == 0) error = closed;
  if (error != 0) throwFileError(error, "Could not write \"%1$s\": %2$s", path);
}

// Writes all of `bytes` to `fd`, flushes them to the disk and closes `fd`;
// `path` only names the file in an error.
void writeAndClose(UniqueFd fd, const Bytes& bytes, const fs::path& path) {
  detail::writeAll(fd.get(), bytes.span(), path);
  syncAndClose(std::move(fd), path);
}

// Makes the renames in `folder` durable; failure here loses nothing that is
// not already safe, so it is not reported.
void syncFolder(const fs::path& folder) {
  const UniqueFd fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (fd) ::fsync(fd.get());
}

std::string cleaned(std::string_view text, bool isExtension) {
  std::string result;
  if (isExtension) {
    while (!text.empty() && text.front() == '.') text.remove_prefix(1);
    while (!text.empty() && text.back() == '.') text.remove_suffix(1);
  }
  for (char c : text) {
    if (c == '\0') continue;
    if (c == '/') {
      if (!isExtension) result += '-';
      continue;
    }
    result += c;
  }
  return result;
}

bool nameTaken(const fs::path& path) {
  struct stat info;
  return ::lstat(path.c_str(), &info) == 0;
}

}  // namespace

std::string newUUID() {
  std::array<unsigned char, 16> bits{};
  size_t filled = 0;
  while (filled < bits.size()) {
    const ssize_t n = ::getrandom(bits.data() + filled, bits.size() - filled, 0);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) throw std::system_error(errno, std::generic_category(), "getrandom");
    filled += static_cast<size_t>(n);
  }
  bits[6] = static_cast<unsigned char>((bits[6] & 0x0F) | 0x40);  // version 4
  bits[8] = static_cast<unsigned char>((bits[8] & 0x3F) | 0x80);  // RFC 4122 variant
  static constexpr char hex[] = "0123456789ABCDEF";
  std::string text;
  for (size_t i = 0; i < bits.size(); ++i) {
    if (i == 4 || i == 6 || i == 8 || i == 10) text += '-';
    text += hex[bits[i] >> 4];
    text += hex[bits[i] & 0x0F];
  }
  return text;
}

fs::path uniqueSibling(const fs::path& source, std::string_view suffix, std::string_view ext) {
  const fs::path folder = source.parent_path();
  const std::string base = source.stem().string();
  const std::string extension = cleaned(ext, true);
  const std::string cleanedSuffix = cleaned(suffix, false);
  const long longest = ::pathconf(folder.empty() ? "." : folder.c_str(), _PC_NAME_MAX);
  const size_t limit = longest > 0 ? static_cast<size_t>(longest) : NAME_MAX;
  // The base gives way, at a character boundary, to whatever follows it.
  auto candidate = [&](const std::string& number) {
    const std::string tail = cleanedSuffix + number + (extension.empty() ? "" : "." + extension);
    const size_t room = tail.size() < limit ? limit - tail.size() : 0;
    return folder / (std::string(firstBytes(base, room)) + tail);
  };
  fs::path path = candidate("");
  for (unsigned long n = 2; nameTaken(path); ++n) path = candidate(" " + std::to_string(n));
  return path;
}

namespace detail {

int linkThenUnlink(const fs::path& from, const fs::path& to) {
  if (::link(from.c_str(), to.c_str()) != 0) return errno;
  ::unlink(from.c_str());
  return 0;
}

int renameExclusive(const fs::path& from, const fs::path& to) {
  if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return 0;
  const int error = errno;
  if (error == EINVAL || error == ENOSYS) return linkThenUnlink(from, to);
  return error;
}

}  // namespace detail

mode_t outputPermissions(const fs::path& source) {
  struct stat info;
  if (::stat(source.c_str(), &info) != 0) {
    if (errno == ENOENT) return 0600;
    throwFileError(errno, "Could not read \"%1$s\": %2$s", source);
  }
  return info.st_mode & 0666;
}

void publish(const Bytes& bytes, const fs::path& destination, mode_t permissions) {
  publishWritten([&](int fd, const fs::path&) { detail::writeAll(fd, bytes.span(), destination); },
                 destination, permissions);
}

void publishWritten(const std::function<void(int fd, const fs::path& path)>& write,
                    const fs::path& destination, mode_t permissions) {
  const fs::path temporary = destination.parent_path() / (".whirlpane-" + newUUID() + ".tmp");
  UniqueFd fd = WorkingFiles::createFile(temporary, permissions);
  int error = 0;
  try {
    write(fd.get(), destination);
    syncAndClose(std::move(fd), destination);
    error = detail::renameExclusive(temporary, destination);
  } catch (...) {
    WorkingFiles::remove(temporary);
    throw;
  }
  WorkingFiles::remove(temporary);
  if (error == EEXIST) throw Failure::exists(destination.filename().string());
  if (error != 0) throwFileError(error, "Could not save \"%1$s\": %2$s", destination);
  syncFolder(destination.parent_path());
}

fs::path publishBeside(const fs::path& source, std::string_view suffix, std::string_view ext,
                       const Bytes& bytes) {
  const mode_t permissions = outputPermissions(source);
  for (int attempt = 0; attempt < attemptLimit; ++attempt) {
    const fs::path destination = uniqueSibling(source, suffix, ext);
    try {
      publish(bytes, destination, permissions);
      return destination;
    } catch (const Failure& failure) {
      if (failure.kind() != Failure::Kind::exists) throw;
    }
  }
  throw Failure::encoding(translated("Too many simultaneous writes to this folder."));
}

fs::path temporaryDirectory() {
  const fs::path folder = fs::temp_directory_path() / ("Whirlpane-" + newUUID());
  WorkingFiles::createFolder(folder, /*withParents=*/true);
  return folder;
}

BatchFolder::BatchFolder(const fs::path& source, std::string ext, const fs::path& outputFolder)
    : namedAs_(outputFolder.empty() ? source : outputFolder / source.filename()),
      ext_(std::move(ext)),
      permissions_(outputPermissions(source)),
      folder_(namedAs_.parent_path() / (".whirlpane-batch-" + newUUID())) {
  WorkingFiles::createFolder(folder_);
}

BatchFolder::BatchFolder(const fs::path& source, std::string ext, const fs::path& outputFolder,
                         OneOutput)
    : namedAs_(outputFolder.empty() ? source : outputFolder / source.filename()),
      ext_(std::move(ext)),
      permissions_(outputPermissions(source)),
      folder_(namedAs_.parent_path() / (".whirlpane-" + newUUID() + ".tmp")),
      oneOutput_(WorkingFiles::createFile(folder_, permissions_)),
      single_(true) {}

BatchFolder BatchFolder::forOneOutput(const fs::path& source, std::string ext,
                                      const fs::path& outputFolder) {
  return BatchFolder(source, std::move(ext), outputFolder, OneOutput{});
}

BatchFolder::~BatchFolder() { WorkingFiles::remove(folder_); }

std::pair<UniqueFd, fs::path> BatchFolder::nextFile() {
  if (oneOutput_) return {std::move(oneOutput_), folder_};
  if (single_) throw std::logic_error("a second output staged for one");
  const fs::path name = std::to_string(staged_.size()) + "." + ext_;
  return {WorkingFiles::createFileIn(folder_, name, permissions_), folder_ / name};
}

void BatchFolder::stage(const Bytes& bytes, std::string suffix) {
  auto [fd, path] = nextFile();
  writeAndClose(std::move(fd), bytes, path);
  staged_.emplace_back(path, std::move(suffix));
}

void BatchFolder::stageWritten(const std::function<void(int, const fs::path&)>& write,
                               std::string suffix) {
  auto [fd, path] = nextFile();
  write(fd.get(), path);
  syncAndClose(std::move(fd), path);
  staged_.emplace_back(path, std::move(suffix));
}

std::vector<fs::path> BatchFolder::publish() {
  std::vector<fs::path> published;
  auto alreadySaved = [&] {
    std::string names;
    for (const fs::path& path : published)
      names += (names.empty() ? "" : ", ") + path.filename().string();
    return names;
  };
  for (const auto& [file, suffix] : staged_) {
    int attempts = 0;
    for (;;) {
      const fs::path destination = uniqueSibling(namedAs_, suffix, ext_);
      const int error = detail::renameExclusive(file, destination);
      if (error == 0) {
        published.push_back(destination);
        break;
      }
      if (error != EEXIST) {
        if (published.empty()) throwFileError(error, "Could not save \"%1$s\": %2$s", destination);
        const std::string reason = std::generic_category().message(error);
        // TRANSLATORS: %1$s is the system's reason, %2$s a list of file names.
        throw Failure::encoding(translated("%1$s Already saved: %2$s.", {reason, alreadySaved()}));
      }
      if (++attempts == attemptLimit) {
        throw Failure::encoding(translatedPlural(
            "Too many simultaneous writes to this folder. Already saved %1$s file(s).",
            "Too many simultaneous writes to this folder. Already saved %1$s file(s).",
            published.size(), {std::to_string(published.size())}));
      }
    }
  }
  if (!published.empty()) syncFolder(namedAs_.parent_path());
  return published;
}

}  // namespace MediaEngine
