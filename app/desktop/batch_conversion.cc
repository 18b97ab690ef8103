// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/desktop/batch_conversion.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QCoreApplication>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <optional>
#include <utility>

#include "app/worker_protocol.h"

extern char** environ;

namespace Whirlpane {

namespace fs = std::filesystem;
namespace Protocol = WorkerProtocol;

struct BatchConversion::Worker {
  pid_t pid = -1;
  int socket = -1;  // this end of the worker's standard input
  int files = 0;    // converted so far
  Protocol::MessageReader reader{-1};

  ~Worker() {
    if (socket >= 0) ::close(socket);
  }
};

namespace {

// Waits for `pid` to end and returns its status.
int reap(pid_t pid) {
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  return status;
}

// The resident memory of process `pid`, in bytes; 0 when unknown.
size_t residentBytes(pid_t pid) {
  std::ifstream statm("/proc/" + std::to_string(pid) + "/statm");
  size_t total = 0, resident = 0;
  if (!(statm >> total >> resident)) return 0;
  return resident * static_cast<size_t>(::sysconf(_SC_PAGESIZE));
}

// Why a worker that ended with `status` left its file unanswered.
std::string deathReason(int status) {
  if (WIFSIGNALED(status)) {
    //: A conversion's worker process ended by a signal; %1 names the signal ("Killed").
    return QCoreApplication::translate("Whirlpane::BatchConversion",
                                       "The conversion stopped unexpectedly (%1).")
        .arg(QString::fromLocal8Bit(::strsignal(WTERMSIG(status))))
        .toStdString();
  }
  //: A conversion's worker process failed and gave no reason; %1 is its exit status.
  return QCoreApplication::translate("Whirlpane::BatchConversion",
                                     "The conversion failed without saying why (status %1).")
      .arg(WEXITSTATUS(status))
      .toStdString();
}

// Starts `program` as a worker on one end of a new socket; returns its pid and
// the other end, or -1 and the errno value.
std::pair<pid_t, int> spawnWorker(const fs::path& program, int& error) {
  int ends[2];
  if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends) != 0) {
    error = errno;
    return {-1, -1};
  }
  std::string path = program.string(), mode = "--batch-worker";
  char* argv[] = {path.data(), mode.data(), nullptr};
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, ends[1], STDIN_FILENO);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  // A fresh program's signal state, whatever this process blocks or ignores:
  // the worker must obey the polite stop.
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
  error = ::posix_spawn(&pid, argv[0], &actions, &attributes, argv, environ);
  posix_spawn_file_actions_destroy(&actions);
  posix_spawnattr_destroy(&attributes);
  ::close(ends[1]);
  if (error != 0) {
    ::close(ends[0]);
    return {-1, -1};
  }
  return {pid, ends[0]};
}

}  // namespace

BatchConversion::BatchConversion(fs::path program, int workers)
    : BatchConversion(std::move(program), workers, Limits{}) {}

BatchConversion::BatchConversion(fs::path program, int workers, Limits limits)
    : program_(std::move(program)), workers_(std::max(workers, 1)), limits_(limits) {}

BatchConversion::~BatchConversion() { stop(); }

int BatchConversion::defaultWorkers() {
  return static_cast<int>(std::clamp(std::thread::hardware_concurrency(), 1u, 4u));
}

bool BatchConversion::start(std::vector<fs::path> files, std::string format, Progress progress,
                            Finished finished, fs::path otherFolder, std::string password) {
  if (running_ || std::this_thread::get_id() == thread_.get_id()) return false;
  // The previous batch has ended: its thread is reporting the end or waiting
  // for the next batch, a wait that ends now.
  if (thread_.joinable()) {
    wakeIdleWait();
    thread_.join();
  }
  running_ = true;
  canceled_ = false;
  {
    std::lock_guard lock(mutex_);
    woken_ = false;
  }
  thread_ = std::thread(&BatchConversion::run, this, std::move(files), std::move(format),
                        std::move(progress), std::move(finished), std::move(otherFolder),
                        std::move(password));
  return true;
}

void BatchConversion::cancel() {
  std::lock_guard lock(mutex_);
  canceled_ = true;
  for (const pid_t worker : busyPids_) {
    ::kill(worker, SIGTERM);
    stoppedPids_.push_back(worker);
  }
}

void BatchConversion::stop() {
  cancel();
  wakeIdleWait();
  if (thread_.joinable()) thread_.join();
  std::vector<std::unique_ptr<Worker>> idle;
  {
    std::lock_guard lock(mutex_);
    idle.swap(idle_);
  }
  endWorkers(std::move(idle));
}

void BatchConversion::wakeIdleWait() {
  std::lock_guard lock(mutex_);
  woken_ = true;
  wake_.notify_all();
}

void BatchConversion::endWorkers(std::vector<std::unique_ptr<Worker>> workers) {
  // A closed socket is a worker's sign to end; it has no file in progress.
  for (auto& worker : workers) {
    ::close(std::exchange(worker->socket, -1));
  }
  for (auto& worker : workers) reap(worker->pid);
}

void BatchConversion::run(std::vector<fs::path> files, std::string format, Progress progress,
                          Finished finished, fs::path otherFolder, std::string password) {
  const size_t total = files.size();
  // Shared by the threads below, under `mutex`: the next file to start, the
  // outcomes in but not yet reported (a later file may end before an earlier
  // one), and how far the reports have got.
  std::mutex mutex;
  size_t next = 0, reported = 0;
  std::vector<std::optional<Outcome>> outcomes(total);
  Result result;
  int saved = 0;
  const auto report = [&](size_t k) {
    Outcome& outcome = *outcomes[k];
    if (outcome.locked) {
      result.locked.push_back(files[k]);
    } else if (outcome.failure.empty()) {
      result.outputs.insert(result.outputs.end(), outcome.outputs.begin(), outcome.outputs.end());
      ++saved;
    } else {
      result.failures.push_back(std::move(outcome.failure));
      if (outcome.unwritable) result.unwritable.push_back(files[k]);
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
      Outcome outcome = convertOne(files[k], format, {}, password);
      if (outcome.unwritable && !otherFolder.empty()) {
        outcome = convertOne(files[k], format, otherFolder, password);
      }
      std::lock_guard lock(mutex);
      if (outcome.interrupted) return;
      outcomes[k] = std::move(outcome);
      for (; reported < total && outcomes[reported]; ++reported) report(reported);
    }
  };
  std::vector<std::thread> helpers;
  for (size_t i = 1; i < std::min(static_cast<size_t>(workers_), total); ++i) {
    helpers.emplace_back(convertFiles);
  }
  convertFiles();
  for (std::thread& helper : helpers) helper.join();
  // After a cancel, what was written beyond an interrupted file.
  for (; reported < total; ++reported) {
    if (outcomes[reported]) report(reported);
  }
  ::explicit_bzero(password.data(), password.size());
  // Ended before the end is reported: a caller that starts the next batch as
  // soon as it hears must not find this one still running.
  running_ = false;
  if (finished) finished(std::move(result));

  // The workers wait a while for the next batch, then end.
  std::unique_lock lock(mutex_);
  if (!wake_.wait_for(lock, limits_.idle, [&] { return woken_; })) {
    std::vector<std::unique_ptr<Worker>> idle;
    idle.swap(idle_);
    lock.unlock();
    endWorkers(std::move(idle));
  }
}

std::unique_ptr<BatchConversion::Worker> BatchConversion::takeWorker(int& error, bool& reused) {
  std::unique_ptr<Worker> worker;
  {
    std::lock_guard lock(mutex_);
    if (canceled_) return nullptr;
    reused = !idle_.empty();
    if (reused) {
      worker = std::move(idle_.back());
      idle_.pop_back();
      busyPids_.push_back(worker->pid);
      return worker;
    }
  }
  const auto [pid, socket] = spawnWorker(program_, error);
  if (pid < 0) return nullptr;
  ++workersStarted_;
  worker = std::make_unique<Worker>();
  worker->pid = pid;
  worker->socket = socket;
  worker->reader = Protocol::MessageReader(socket);
  std::lock_guard lock(mutex_);
  busyPids_.push_back(pid);
  // A cancel that came while it started: it never gets a file.
  if (canceled_) {
    ::kill(pid, SIGTERM);
    stoppedPids_.push_back(pid);
  }
  return worker;
}

BatchConversion::Outcome BatchConversion::convertOne(const fs::path& file,
                                                     const std::string& format,
                                                     const fs::path& outputFolder,
                                                     const std::string& password) {
  Outcome outcome;
  const std::string name = file.filename().string();
  for (int attempt = 0;; ++attempt) {
    int error = 0;
    bool reused = false;
    std::unique_ptr<Worker> worker = takeWorker(error, reused);
    if (!worker) {
      outcome.interrupted = error == 0;
      if (error != 0) outcome.failure = name + ": " + std::strerror(error);
      return outcome;
    }
    // The password travels only over the worker's socket: no other process
    // can read it, as it could an argument or the environment in /proc.
    Protocol::Message request{"convert", file.string(), format, outputFolder.string(), password};
    const bool sent = Protocol::send(worker->socket, request);
    ::explicit_bzero(request.back().data(), request.back().size());
    std::optional<Protocol::Message> reply;
    if (sent) reply = worker->reader.next();
    bool stopped = false;
    {
      std::lock_guard lock(mutex_);
      std::erase(busyPids_, worker->pid);
      stopped = std::erase(stoppedPids_, worker->pid) > 0;
    }
    // Answered: the files it names are published, even when a stop came after.
    if (reply && !reply->empty() && (*reply)[0] == "saved") {
      outcome.outputs.assign(reply->begin() + 1, reply->end());
    } else if (reply && reply->size() == 1 && (*reply)[0] == "locked") {
      outcome.locked = true;
    } else if (reply && reply->size() == 3 && (*reply)[0] == "failed") {
      outcome.failure = name + ": " + (*reply)[2];
      outcome.unwritable = (*reply)[1] == "folder";
    }
    if (reply && !stopped) {
      ++worker->files;
      if (worker->files >= limits_.filesPerWorker ||
          residentBytes(worker->pid) > limits_.workerMemory) {
        std::vector<std::unique_ptr<Worker>> retired;
        retired.push_back(std::move(worker));
        endWorkers(std::move(retired));
      } else {
        std::lock_guard lock(mutex_);
        idle_.push_back(std::move(worker));
      }
    } else {
      // Ended or ending: a stopped worker removes its working files first.
      ::close(std::exchange(worker->socket, -1));
      const int status = reap(worker->pid);
      if (!reply) {
        // A worker that had waited in the pool may have been ended by
        // something else meanwhile: the file it never got goes to a new one.
        if (!sent && reused && attempt == 0 && !stopped) continue;
        outcome.interrupted = stopped;
        if (!stopped) outcome.failure = name + ": " + deathReason(status);
      }
    }
    if (reply && outcome.outputs.empty() && outcome.failure.empty() && !outcome.locked) {
      outcome.failure = name + ": " + deathReason(0);  // an answer that is none
    }
    return outcome;
  }
}

}  // namespace Whirlpane
