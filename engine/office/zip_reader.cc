// SPDX-License-Identifier: GPL-3.0-or-later
#include "office/zip_reader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <zip.h>

#include <cerrno>

#include "base/handles.h"
#include "whirlpane/failure.h"

namespace MediaEngine::detail {
namespace {

[[noreturn]] void refuse(const std::string& detail) { throw Failure::encoding("unzip: " + detail); }

}  // namespace

std::string packageMember(const std::filesystem::path& package, std::string_view member,
                          size_t maximumBytes) {
  const std::string name = package.filename().string();
  {
    // Opened here first so that a missing or unreadable file reports the
    // system's own reason.
    const UniqueFd fd(::open(package.c_str(), O_RDONLY | O_CLOEXEC));
    if (!fd) throwFileError(errno, "Could not read", package);
    struct stat info {};
    const bool empty = ::fstat(fd.get(), &info) == 0 && info.st_size == 0;
    if (empty) refuse(name + " is not a ZIP package");  // libzip would take it for an empty one
  }
  int code = 0;
  const Owned<zip_t, zip_discard> archive(zip_open(package.c_str(), ZIP_RDONLY, &code));
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
  const Owned<zip_file_t, zip_fclose> file(
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

}  // namespace MediaEngine::detail
