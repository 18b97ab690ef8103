// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/child_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

#include "base/file_io.h"
#include "base/handles.h"
#include "base/translation.h"
#include "base/unicode.h"
#include "files/output_placement.h"
#include "files/working_files.h"
#include "whirlpane/failure.h"

extern char** environ;

namespace MediaEngine {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr size_t errorTextLimit = 1000;  // characters of standard error kept in a message

off_t sizeOf(int fd) {
  struct stat info;
  return ::fstat(fd, &info) == 0 ? info.st_size : 0;
}

// A started child process leading its own group: waits for it without reaping
// it, so that its id (and so its group's) stays reserved until the group has
// been cleared.
class Child {
 public:
  // glibc 2.36 declares pidfd_open without C linkage; the system call is the
  // same thing.
  explicit Child(pid_t pid)
      : pid_(pid), pidfd_(static_cast<int>(::syscall(SYS_pidfd_open, pid, 0))) {}
  ~Child() {
    if (!finished_) finish();  // however the caller leaves, nothing stays running
    if (pidfd_ >= 0) ::close(pidfd_);
  }
  Child(const Child&) = delete;
  Child& operator=(const Child&) = delete;

  // True when the child has ended within `timeout`.
  bool waitFor(std::chrono::milliseconds timeout) {
    if (pidfd_ >= 0) {
      pollfd ready{pidfd_, POLLIN, 0};
      while (::poll(&ready, 1, static_cast<int>(timeout.count())) < 0 && errno == EINTR) {
      }
      return ended();
    }
    // No pidfd (an old kernel): look in small steps.
    for (auto until = Clock::now() + timeout; !ended();) {
      if (Clock::now() >= until) return false;
      ::usleep(10'000);
    }
    return true;
  }

  bool ended() {
    siginfo_t info{};
    if (::waitid(P_PID, static_cast<id_t>(pid_), &info, WEXITED | WNOHANG | WNOWAIT) != 0)
      return true;
    return info.si_pid == pid_;
  }

  // Stops the child: the polite request, `grace` to obey, then SIGKILL.
  void stop(std::chrono::milliseconds grace) {
    ::kill(-pid_, SIGTERM);
    if (!waitFor(grace)) ::kill(-pid_, SIGKILL);
  }

  // Kills whatever is left of the group, reaps the child and returns its
  // wait status.
  int finish() {
    ::kill(-pid_, SIGKILL);  // anything the child started and left running
    int status = 0;
    while (::waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
    }
    // SIGKILL takes effect a moment after it is sent; give what was left of
    // the group that moment (bounded, for an init that is slow to reap), so
    // that nothing of it is still running when the call returns.
    for (int tries = 0; tries < 50 && ::kill(-pid_, 0) == 0; ++tries) ::usleep(2'000);
    WorkingFiles::forgetChild(pid_);
    finished_ = true;
    return status;
  }

 private:
  pid_t pid_;
  int pidfd_;
  bool finished_ = false;
};

pid_t spawn(const fs::path& executable, const std::vector<std::string>& args, int out, int err) {
  std::vector<std::string> argv{executable.string()};
  argv.insert(argv.end(), args.begin(), args.end());
  std::vector<char*> pointers;
  for (std::string& a : argv) pointers.push_back(a.data());
  pointers.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_adddup2(&actions, out, STDOUT_FILENO);
  posix_spawn_file_actions_adddup2(&actions, err, STDERR_FILENO);
  posix_spawn_file_actions_addclosefrom_np(&actions, 3);

  // Its own process group, so that a stop reaches everything it starts, and
  // the signal state of a fresh program, whatever this process blocks.
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  posix_spawnattr_setpgroup(&attributes, 0);
  sigset_t none, defaults;
  sigemptyset(&none);
  sigemptyset(&defaults);
  for (int signal : {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGPIPE}) sigaddset(&defaults, signal);
  posix_spawnattr_setsigmask(&attributes, &none);
  posix_spawnattr_setsigdefault(&attributes, &defaults);
  posix_spawnattr_setflags(&attributes,
                           POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);

  int error = 0;
  const pid_t pid = WorkingFiles::startChild([&] {
    pid_t started = -1;
    error =
        ::posix_spawn(&started, argv[0].c_str(), &actions, &attributes, pointers.data(), environ);
    return error == 0 ? started : -1;
  });
  posix_spawn_file_actions_destroy(&actions);
  posix_spawnattr_destroy(&attributes);
  if (pid < 0) throwFileError(error, "Could not start \"%1$s\": %2$s", executable);
  return pid;
}

}  // namespace

Bytes run(const fs::path& executable, const std::vector<std::string>& args, size_t maximumBytes,
          const ProcessLimits& limits) {
  const FolderGuard capture(temporaryDirectory());
  const UniqueFd out(WorkingFiles::createFileIn(capture.path(), "stdout"));
  const UniqueFd err(WorkingFiles::createFileIn(capture.path(), "stderr"));
  const std::string name = executable.filename().string();

  Child child(spawn(executable, args, out.get(), err.get()));
  const auto deadline = Clock::now() + limits.timeLimit;
  for (;;) {
    if (child.waitFor(limits.pollInterval)) break;
    if (static_cast<size_t>(sizeOf(out.get())) > maximumBytes ||
        static_cast<size_t>(sizeOf(err.get())) > limits.errorLimit) {
      child.stop(limits.grace);
      child.finish();
      throw Failure::tooLarge();
    }
    if (Clock::now() > deadline) {
      child.stop(limits.grace);
      child.finish();
      // TRANSLATORS: %1$s is the name of a program, such as "cwebp".
      throw Failure::encoding(translated("%1$s exceeded the time limit", {name}));
    }
  }
  const int status = child.finish();
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    // Some programs (avifenc among them) complain on standard output; a
    // message with no reason at all helps nobody.
    std::string complaint = detail::readFromStart(err.get());
    if (complaint.empty()) complaint = detail::readFromStart(out.get());
    throw Failure::encoding(name + ": " + firstCharacters(madeValid(complaint), errorTextLimit));
  }
  if (static_cast<size_t>(sizeOf(out.get())) > maximumBytes) throw Failure::tooLarge();
  return Bytes::copyOf(detail::readFromStart(out.get()));
}

}  // namespace MediaEngine
