// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/file_io.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "base/handles.h"
#include "whirlpane/failure.h"

namespace MediaEngine::detail {

std::string readFromStart(int fd) {
  std::string text;
  char buffer[1 << 16];
  for (off_t at = 0;;) {
    const ssize_t n = ::pread(fd, buffer, sizeof buffer, at);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    text.append(buffer, static_cast<size_t>(n));
    at += n;
  }
  return text;
}

Bytes readWholeFile(const std::filesystem::path& path) {
  const UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (!fd) throwFileError(errno, "Could not read \"%1$s\": %2$s", path);
  std::string content;
  char buffer[1 << 16];
  int error = 0;
  for (;;) {
    const ssize_t n = ::read(fd.get(), buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) error = errno;
    if (n <= 0) break;
    content.append(buffer, static_cast<size_t>(n));
  }
  if (error != 0) throwFileError(error, "Could not read \"%1$s\": %2$s", path);
  return Bytes::copyOf(content);
}

void writeAll(int fd, std::span<const std::byte> bytes, const std::filesystem::path& path) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) throwFileError(errno, "Could not write \"%1$s\": %2$s", path);
    bytes = bytes.subspan(static_cast<size_t>(n));
  }
}

}  // namespace MediaEngine::detail
