// SPDX-License-Identifier: GPL-3.0-or-later
// A batch of conversions from the wheel, done by a pool of worker processes of
// this same program ("whirlpane --batch-worker"), as many as there are cores
// (at most four), each converting file after file sent to it (see
// app/worker_protocol.h). The engine starts once per worker, not once per
// file. A file that crashes or exhausts a decoder takes down its worker, not
// the tray program: that file fails, a new worker takes the next one. A worker
// is retired after a number of files or once its memory has grown past a
// bound, and the pool's idle workers end a few seconds after a batch, so no
// decoder's memory stays behind for long.
//
// Thread safety: start(), cancel(), stop() and running() are called from one
// thread (the interface's). The callbacks run on the batch's worker threads,
// one at a time and in the files' order: every progress report, then the end;
// the caller hands them to its own thread.
#pragma once

#include <sys/types.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace Whirlpane {

class BatchConversion {
 public:
  struct Result {
    std::vector<std::filesystem::path> outputs;  // every file written, in order
    std::vector<std::string> failures;           // "name: reason", one per failed file
    // The failed sources whose outputs' folder may not be written or is
    // full: another folder would take them.
    std::vector<std::filesystem::path> unwritable;
    // The locked PDFs that no password, or not the one given, opened: neither
    // saved nor failed, for asking the user.
    std::vector<std::filesystem::path> locked;
  };
  using Progress = std::function<void(int saved, int total)>;
  using Finished = std::function<void(Result)>;

  // When a worker is retired, and how long idle workers wait for the next
  // batch.
  struct Limits {
    int filesPerWorker = 250;
    size_t workerMemory = size_t{768} << 20;  // resident bytes after a file
    std::chrono::milliseconds idle{8000};
  };

  // `program` is the whirlpane executable the workers run; at most `workers`
  // of them run at once (at least one).
  explicit BatchConversion(std::filesystem::path program, int workers = defaultWorkers());
  BatchConversion(std::filesystem::path program, int workers, Limits limits);
  // Stops a running batch as stop() does.
  ~BatchConversion();
  BatchConversion(const BatchConversion&) = delete;
  BatchConversion& operator=(const BatchConversion&) = delete;

  // Converts `files` to `format`, several at once but reported in order:
  // after each file, once every file before it is done too, `progress` gets
  // the number of files converted so far (failures not counted) and the
  // total; at the end, `finished` gets what was written and what failed, in
  // the files' order. Each file's outputs go beside it; where that folder may
  // not be written or is full and `otherFolder` is given, into `otherFolder`.
  // `password`, when not empty, opens locked PDFs: it reaches the workers
  // over their sockets, never their arguments or environment, and is kept
  // nowhere after the batch.
  // Returns false, and does nothing, while a batch is running. A batch counts
  // as ended just before its `finished` is called, so the caller may start the
  // next one as soon as it hears of the end (from its own thread, not from
  // within `finished`).
  bool start(std::vector<std::filesystem::path> files, std::string format, Progress progress,
             Finished finished, std::filesystem::path otherFolder = {}, std::string password = {});

  // True from start() until the batch's end is reported.
  bool running() const { return running_; }

  // Ends the batch: no further file starts, and every worker with a file in
  // progress is asked to stop (each removes its own hidden working files, so
  // what it was writing never appears, and ends). What was saved before stays
  // and is reported; an interrupted file is neither saved nor failed.
  void cancel();

  // For quitting: cancels, waits for the batch to end and ends every worker.
  // `finished` is still called, once.
  void stop();

  // The number of cores, at most four: one worker per core keeps both the
  // decoder of one file and the encoder of another busy.
  static int defaultWorkers();

  // One conversion by a worker of the pool: what it wrote, or the failure
  // line. `outputFolder` empty puts the outputs beside `file`. Public for
  // tests.
  struct Outcome {
    std::vector<std::filesystem::path> outputs;
    std::string failure;       // empty on success
    bool interrupted = false;  // stopped by cancel() or stop(): neither saved nor failed
    bool unwritable = false;   // failed because the outputs' folder may not be written or is full
    bool locked = false;       // a locked PDF the password (if any) did not open; no failure
  };
  Outcome convertOne(const std::filesystem::path& file, const std::string& format,
                     const std::filesystem::path& outputFolder = {},
                     const std::string& password = {});

  // How many worker processes the pool has started so far.
  int workersStarted() const { return workersStarted_; }

 private:
  struct Worker;

  void run(std::vector<std::filesystem::path> files, std::string format, Progress progress,
           Finished finished, std::filesystem::path otherFolder, std::string password);
  // An idle worker, or a new one; null when none could be started (`error`
  // says why) or the batch was canceled.
  std::unique_ptr<Worker> takeWorker(int& error, bool& reused);
  void endWorkers(std::vector<std::unique_ptr<Worker>> workers);
  void wakeIdleWait();

  std::filesystem::path program_;
  int workers_;
  Limits limits_;
  std::thread thread_;  // the batch, then the wait before idle workers end
  std::atomic<bool> running_{false};
  std::atomic<bool> canceled_{false};
  std::atomic<int> workersStarted_{0};
  std::mutex mutex_;
  std::condition_variable wake_;
  bool woken_ = false;                         // guarded by mutex_
  std::vector<std::unique_ptr<Worker>> idle_;  // guarded by mutex_
  std::vector<pid_t> busyPids_;                // workers with a file, guarded by mutex_
  std::vector<pid_t> stoppedPids_;             // those of them asked to stop, guarded by mutex_
};

}  // namespace Whirlpane
