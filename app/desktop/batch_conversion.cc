// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/desktop/batch_conversion.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <string.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QCoreApplication>
#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <optional>
#include <sstream>
#include <system_error>

#include "app/command_line.h"

extern char** environ;

namespace Whirlpane {
namespace {

namespace fs = std::filesystem;

// The child's output on both streams, read until both close.
struct Captured {
  std::string out;
  std::string err;
};

Captured readBoth(int out, int err) {
  Captured captured;
  std::array<pollfd, 2> streams{pollfd{out, POLLIN, 0}, pollfd{err, POLLIN, 0}};
  char buffer[1 << 14];
  int open = 2;
  while (open > 0) {
    if (::poll(streams.data(), streams.size(), -1) < 0) {
      if (errno == EINTR) continue;
      break;
    }
    for (size_t i = 0; i < streams.size(); ++i) {
      if (streams[i].fd < 0 || streams[i].revents == 0) continue;
      const ssize_t n = ::read(streams[i].fd, buffer, sizeof buffer);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) {
        streams[i].fd = -1;
        --open;
        continue;
      }
      (i == 0 ? captured.out : captured.err).append(buffer, static_cast<size_t>(n));
    }
  }
  return captured;
}

std::string firstLine(const std::string& text) {
  std::string line = text.substr(0, text.find('\n'));
  while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.pop_back();
  return line;
}

}  // namespace

BatchConversion::BatchConversion(fs::path program, int children)
    : program_(std::move(program)), children_(std::max(children, 1)) {}

BatchConversion::~BatchConversion() { stop(); }

int BatchConversion::defaultChildren() {
  return static_cast<int>(std::clamp(std::thread::hardware_concurrency(), 1u, 4u));
}

bool BatchConversion::start(std::vector<fs::path> files, std::string format, Progress progress,
                            Finished finished, std::string password) {
  if (running_) return false;
  if (worker_.joinable()) worker_.join();  // the previous batch has ended
  running_ = true;
  canceled_ = false;
  worker_ = std::thread(&BatchConversion::run, this, std::move(files), std::move(format),
                        std::move(progress), std::move(finished), std::move(password));
  return true;
}

void BatchConversion::cancel() {
  std::lock_guard lock(childMutex_);
  canceled_ = true;
  for (const pid_t child : childPids_) {
    ::kill(child, SIGTERM);
    stoppedPids_.push_back(child);
  }
}

void BatchConversion::stop() {
  cancel();
  if (worker_.joinable()) worker_.join();
}

void BatchConversion::run(std::vector<fs::path> files, std::string format, Progress progress,
                          Finished finished, std::string password) {
  const size_t total = files.size();
  // Shared by the threads below, under `mutex`: the next file to start, the
  // outcomes in but not yet reported (a later file may end before an earlier
  // one), and how far the reports have got.
  std::mutex mutex;
  size_t next = 0, reported = 0;
  std::vector<std::optional<Outcome>> outcomes(total);
  Result result;
  int saved = 0;
  const auto report = [&](Outcome& outcome, const fs::path& file) {
    if (outcome.locked) {
      result.locked.push_back(file);
    } else if (outcome.failure.empty()) {
      result.outputs.insert(result.outputs.end(), outcome.outputs.begin(), outcome.outputs.end());
      ++saved;
    } else {
      result.failures.push_back(std::move(outcome.failure));
    }
    if (progress) progress(saved, static_cast<int>(total));
  };
  const auto convertFiles = [&] {
    for (;;) {
      size_t k = 0;
      {
        std::lock_guard lock(mutex);
        if (canceled_ || next == total) return;
        k = next++;
      }
      Outcome outcome = convertOne(files[k], format, password);
      std::lock_guard lock(mutex);
      if (outcome.interrupted) return;
      outcomes[k] = std::move(outcome);
      for (; reported < total && outcomes[reported]; ++reported)
        report(*outcomes[reported], files[reported]);
    }
  };
  std::vector<std::thread> helpers;
  for (size_t i = 1; i < std::min(static_cast<size_t>(children_), total); ++i) {
    helpers.emplace_back(convertFiles);
  }
  convertFiles();
  for (std::thread& helper : helpers) helper.join();
  // After a cancel, what was written beyond an interrupted file.
  for (; reported < total; ++reported) {
    if (outcomes[reported]) report(*outcomes[reported], files[reported]);
  }
  ::explicit_bzero(password.data(), password.size());
  if (finished) finished(std::move(result));
  running_ = false;
}

BatchConversion::Outcome BatchConversion::convertOne(const fs::path& file,
                                                     const std::string& format,
                                                     const std::string& password) {
  Outcome outcome;
  const std::string name = file.filename().string();
  int out[2], err[2];
  if (::pipe2(out, O_CLOEXEC) != 0) {
    outcome.failure = name + ": " + std::strerror(errno);
    return outcome;
  }
  if (::pipe2(err, O_CLOEXEC) != 0) {
    outcome.failure = name + ": " + std::strerror(errno);
    ::close(out[0]);
    ::close(out[1]);
    return outcome;
  }
  // The password goes through a socket as the child's standard input: unlike
  // an argument or the environment, no other process can read it in /proc,
  // and a child gone before reading it costs a failed send, not a SIGPIPE.
  int in[2] = {-1, -1};
  if (!password.empty() && ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, in) != 0) {
    outcome.failure = name + ": " + std::strerror(errno);
    for (int end : {out[0], out[1], err[0], err[1]}) ::close(end);
    return outcome;
  }
  std::vector<std::string> arguments{program_.string(), "--convert", file.string(), "--to", format};
  if (!password.empty()) arguments.emplace_back("--password-stdin");
  std::vector<char*> argv;
  for (std::string& argument : arguments) argv.push_back(argument.data());
  argv.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (in[0] >= 0) {
    posix_spawn_file_actions_adddup2(&actions, in[0], STDIN_FILENO);
  } else {
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  }
  posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
  posix_spawn_file_actions_adddup2(&actions, err[1], STDERR_FILENO);
  // A fresh program's signal state, whatever this process blocks or ignores:
  // the child must obey the polite stop.
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  sigset_t none, defaults;
  sigemptyset(&none);
  sigemptyset(&defaults);
  for (int signal : {SIGINT, SIGTERM, SIGHUP, SIGPIPE}) sigaddset(&defaults, signal);
  posix_spawnattr_setsigmask(&attributes, &none);
  posix_spawnattr_setsigdefault(&attributes, &defaults);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);

  pid_t pid = -1;
  int error = 0;
  {
    std::lock_guard lock(childMutex_);
    if (!canceled_) {
      error = ::posix_spawn(&pid, argv[0], &actions, &attributes, argv.data(), environ);
      if (error == 0) childPids_.push_back(pid);
    } else {
      outcome.interrupted = true;
      error = ECANCELED;
    }
  }
  posix_spawn_file_actions_destroy(&actions);
  posix_spawnattr_destroy(&attributes);
  ::close(out[1]);
  ::close(err[1]);
  if (in[0] >= 0) {
    ::close(in[0]);
    if (error == 0) {
      std::string line = password + '\n';
      // Far below a socket's buffer: the send does not wait for the reader.
      [[maybe_unused]] const ssize_t sent = ::send(in[1], line.data(), line.size(), MSG_NOSIGNAL);
      ::explicit_bzero(line.data(), line.size());
    }
    ::close(in[1]);
  }
  if (error != 0) {
    ::close(out[0]);
    ::close(err[0]);
    outcome.failure = name + ": " + std::strerror(error);
    return outcome;
  }

  const Captured captured = readBoth(out[0], err[0]);
  ::close(out[0]);
  ::close(err[0]);
  // Waited for without reaping first, so that cancel() cannot signal the pid
  // after it has been freed for another process.
  siginfo_t ended{};
  bool stopped = false;
  while (::waitid(P_PID, static_cast<id_t>(pid), &ended, WEXITED | WNOWAIT) < 0 && errno == EINTR) {
  }
  {
    std::lock_guard lock(childMutex_);
    std::erase(childPids_, pid);
    stopped = std::erase(stoppedPids_, pid) > 0;
  }
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }

  // The files a child names are published, even when a stop came after.
  std::istringstream lines(captured.out);
  for (std::string line; std::getline(lines, line);) {
    if (!line.empty()) outcome.outputs.emplace_back(line);
  }
  if ((WIFEXITED(status) && WEXITSTATUS(status) == 0) || (stopped && !outcome.outputs.empty())) {
    return outcome;
  }
  outcome.outputs.clear();
  outcome.interrupted = stopped;
  if (!stopped && WIFEXITED(status) && WEXITSTATUS(status) == needsPasswordStatus) {
    outcome.locked = true;
    return outcome;
  }
  std::string reason = firstLine(captured.err);
  if (WIFSIGNALED(status)) {
    //: A conversion's child process ended by a signal; %1 names the signal ("Killed").
    reason = QCoreApplication::translate("Whirlpane::BatchConversion",
                                         "The conversion stopped unexpectedly (%1).")
                 .arg(QString::fromLocal8Bit(::strsignal(WTERMSIG(status))))
                 .toStdString();
  } else if (reason.empty()) {
    //: A conversion's child process failed and printed no reason; %1 is its exit status.
    reason = QCoreApplication::translate("Whirlpane::BatchConversion",
                                         "The conversion failed without saying why (status %1).")
                 .arg(WEXITSTATUS(status))
                 .toStdString();
  }
  outcome.failure = name + ": " + reason;
  return outcome;
}

}  // namespace Whirlpane
