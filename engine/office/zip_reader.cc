// SPDX-License-Identifier: GPL-3.0-or-later
#include "office/zip_reader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <zip.h>

#include <cerrno>

#include "base/handles.h"
#include "base/translation.h"
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
    if (!fd) throwFileError(errno, "Could not read \"%1$s\": %2$s", package);
    struct stat info {};
    const bool empty = ::fstat(fd.get(), &info) == 0 && info.st_size == 0;
    if (empty)
      refuse(translated("%1$s is not a ZIP package",
                        {name}));  // libzip would take it for an empty one
  }
  int code = 0;
  const Owned<zip_t, zip_discard> archive(zip_open(package.c_str(), ZIP_RDONLY, &code));
  if (!archive) {
    if (code == ZIP_ER_NOZIP || code == ZIP_ER_INCONS)
      refuse(translated("%1$s is not a ZIP package", {name}));
    zip_error_t error;
    zip_error_init_with_code(&error, code);
    const std::string text = zip_error_strerror(&error);
    zip_error_fini(&error);
    refuse(name + ": " + text);
  }

  const std::string memberName(member);
  const zip_int64_t index = zip_name_locate(archive.get(), memberName.c_str(), ZIP_FL_ENC_RAW);
  if (index < 0) refuse(translated("%1$s has no member %2$s", {name, memberName}));
  const Owned<zip_file_t, zip_fclose> file(
      zip_fopen_index(archive.get(), static_cast<zip_uint64_t>(index), 0));
  if (!file) {
    // TRANSLATORS: %1$s is a part of the package %2$s; %3$s is the reason, in English.
    refuse(translated("%1$s in %2$s cannot be read: %3$s",
                      {memberName, name, zip_strerror(archive.get())}));
  }

  std::string content;
  char buffer[1 << 16];
  for (;;) {
    const zip_int64_t n = zip_fread(file.get(), buffer, sizeof buffer);
    if (n < 0) {
      // TRANSLATORS: %1$s is a part of the package %2$s; %3$s is the reason, in English.
      refuse(translated("%1$s in %2$s is damaged: %3$s",
                        {memberName, name, zip_file_strerror(file.get())}));
    }
    if (n == 0) break;
    if (static_cast<size_t>(n) > maximumBytes - content.size()) throw Failure::tooLarge();
    content.append(buffer, static_cast<size_t>(n));
  }
  return content;
}

}  // namespace MediaEngine::detail
