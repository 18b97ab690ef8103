// SPDX-License-Identifier: GPL-3.0-or-later
// The hidden working files and folders of this process (".whirlpane-" temporary
// files, ".whirlpane-batch-" folders, "Whirlpane-" scratch folders), tracked from
// the moment they are created until their owner removes or publishes them, so
// that a process asked to stop can remove them before it exits.
//
// Thread safety: every function may be called from any thread. Creation and
// removeAll() exclude each other, so a working file is either created and
// tracked, or not created at all, by the time removeAll() looks.
#pragma once

#include <sys/types.h>

#include <filesystem>
#include <functional>

#include "base/handles.h"

namespace MediaEngine::WorkingFiles {

// Creates `path` as a new file (it must not exist) for reading and writing, with mode
// `permissions` less the umask, and tracks it. Returns the open descriptor
// (close-on-exec). Throws FileError on failure; nothing is tracked then.
UniqueFd createFile(const std::filesystem::path& path, mode_t permissions = 0666);

// Creates the new file `name` inside the tracked folder `folder`, open for
// reading and writing, with mode `permissions` less the umask. The file is not
// tracked itself: removing the folder removes it. Returns the descriptor
// (close-on-exec).
UniqueFd createFileIn(const std::filesystem::path& folder, const std::filesystem::path& name,
                      mode_t permissions = 0666);

// Creates `path` as a new folder with mode 0700 and tracks it. With
// `withParents`, missing parent folders are made first (they are not tracked).
void createFolder(const std::filesystem::path& path, bool withParents = false);

// Removes `path` (a file, or a folder with all it holds), ignoring errors, and
// stops tracking it.
void remove(const std::filesystem::path& path);

// Stops tracking `path` without touching it (it was renamed into place).
void forget(const std::filesystem::path& path);

// Calls `start`, which starts a child process leading its own process group
// and returns its id, and tracks the group so that a stop reaches the child and
// anything it started. Starting and tracking are one step for removeAll().
pid_t startChild(const std::function<pid_t()>& start);
void forgetChild(pid_t processGroup);

// Kills every tracked child process group, then removes every tracked item.
// Meant for a process that is about to end: from this call on, any thread that
// tries to create a working file or start a child waits forever, so the caller
// must end the process promptly (for example with _exit).
void removeAll();

}  // namespace MediaEngine::WorkingFiles

namespace MediaEngine {

// Removes a working folder however the scope is left.
class FolderGuard {
 public:
  explicit FolderGuard(std::filesystem::path folder) : folder_(std::move(folder)) {}
  ~FolderGuard() { WorkingFiles::remove(folder_); }
  FolderGuard(const FolderGuard&) = delete;
  FolderGuard& operator=(const FolderGuard&) = delete;
  const std::filesystem::path& path() const { return folder_; }

 private:
  std::filesystem::path folder_;
};

}  // namespace MediaEngine
