// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/working_files.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <mutex>
#include <vector>

#include "whirlpane/failure.h"

namespace MediaEngine::WorkingFiles {
namespace {

namespace fs = std::filesystem;

struct Registry {
  std::mutex mutex;
  std::vector<fs::path> items;
  std::vector<pid_t> children;
};

// Never destroyed: a stop may arrive while static destructors run at exit.
Registry& registry() {
  static auto* instance = new Registry;
  return *instance;
}

void removeQuietly(const fs::path& path) {
  std::error_code ignored;
  fs::remove_all(path, ignored);
}

void erase(std::vector<fs::path>& items, const fs::path& path) {
  if (auto it = std::find(items.begin(), items.end(), path); it != items.end()) items.erase(it);
}

}  // namespace

UniqueFd createFile(const fs::path& path, mode_t permissions) {
  Registry& r = registry();
  std::lock_guard lock(r.mutex);
  const int fd =
      ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, permissions);
  if (fd < 0)
    throwFileError(errno, "Could not create a temporary file in \"%1$s\": %2$s",
                   path.parent_path());
  r.items.push_back(path);
  return UniqueFd(fd);
}

UniqueFd createFileIn(const fs::path& folder, const fs::path& name, mode_t permissions) {
  Registry& r = registry();
  std::lock_guard lock(r.mutex);
  const fs::path path = folder / name;
  const int fd =
      ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, permissions);
  if (fd < 0) throwFileError(errno, "Could not write a working file in \"%1$s\": %2$s", folder);
  return UniqueFd(fd);
}

void createFolder(const fs::path& path, bool withParents) {
  if (withParents && path.has_parent_path()) {
    std::error_code error;
    fs::create_directories(path.parent_path(), error);
    if (error)
      throwFileError(error.value(), "Could not create the folder \"%1$s\": %2$s",
                     path.parent_path());
  }
  Registry& r = registry();
  std::lock_guard lock(r.mutex);
  if (::mkdir(path.c_str(), 0700) != 0) {
    throwFileError(errno, "Could not create a working folder in \"%1$s\": %2$s",
                   path.parent_path());
  }
  r.items.push_back(path);
}

void remove(const fs::path& path) {
  Registry& r = registry();
  std::lock_guard lock(r.mutex);
  removeQuietly(path);
  erase(r.items, path);
}

void forget(const fs::path& path) {
  Registry& r = registry();
  std::lock_guard lock(r.mutex);
  erase(r.items, path);
}

pid_t startChild(const std::function<pid_t()>& start) {
  Registry& r = registry();
  std::lock_guard lock(r.mutex);
  const pid_t child = start();
  if (child > 0) r.children.push_back(child);
  return child;
}

void forgetChild(pid_t processGroup) {
  Registry& r = registry();
  std::lock_guard lock(r.mutex);
  std::erase(r.children, processGroup);
}

void removeAll() {
  Registry& r = registry();
  r.mutex.lock();  // held until the process ends; see the header
  for (pid_t group : r.children) ::kill(-group, SIGKILL);
  for (const fs::path& path : r.items) removeQuietly(path);
  r.items.clear();
}

}  // namespace MediaEngine::WorkingFiles
