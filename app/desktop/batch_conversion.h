// SPDX-License-Identifier: GPL-3.0-or-later
// A batch of conversions from the wheel, each file in a child process of this
// same program ("whirlpane --convert FILE --to FORMAT"), as many children at
// once as there are cores (at most four), each child one file. A file that
// crashes or exhausts a decoder takes down its child, not the tray program, and
// no decoder's memory stays behind between batches.
//
// Thread safety: start(), cancel(), stop() and running() are called from one
// thread (the interface's). The callbacks run on the batch's worker threads,
// one at a time and in the files' order: every progress report, then the end;
// the caller hands them to its own thread.
#pragma once

#include <sys/types.h>

#include <atomic>
#include <filesystem>
#include <functional>
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
    // The locked PDFs that no password, or not the one given, opened: neither
    // saved nor failed, for asking the user.
    std::vector<std::filesystem::path> locked;
  };
  using Progress = std::function<void(int saved, int total)>;
  using Finished = std::function<void(Result)>;

  // `program` is the whirlpane executable the children run; at most
  // `children` of them run at once (at least one).
  explicit BatchConversion(std::filesystem::path program, int children = defaultChildren());
  // Stops a running batch as stop() does.
  ~BatchConversion();
  BatchConversion(const BatchConversion&) = delete;
  BatchConversion& operator=(const BatchConversion&) = delete;

  // Converts `files` to `format`, several at once but reported in order:
  // after each file, once every file before it is done too, `progress` gets
  // the number of files converted so far (failures not counted) and the
  // total; at the end, `finished` gets what was written and what failed, in
  // the files' order.
  // `password`, when not empty, opens locked PDFs: it reaches each child
  // through its standard input, never its arguments or environment, and is
  // kept nowhere after the batch.
  // Returns false, and does nothing, while a batch is running.
  bool start(std::vector<std::filesystem::path> files, std::string format, Progress progress,
             Finished finished, std::string password = {});

  // True from start() until `finished` has returned.
  bool running() const { return running_; }

  // Ends the batch: no further file starts, and every child in progress is
  // asked to stop (each removes its own hidden working files, so what it was
  // writing never appears). What was saved before stays and is reported;
  // an interrupted file is neither saved nor failed.
  void cancel();

  // For quitting: cancels and waits for the workers to end. `finished` is
  // still called, once.
  void stop();

  // The number of cores, at most four: one child per core keeps both the
  // decoder of one file and the encoder of another busy.
  static int defaultChildren();

  // One conversion in a child process: what it wrote, or the failure line.
  // Public for the worker and for tests.
  struct Outcome {
    std::vector<std::filesystem::path> outputs;
    std::string failure;       // empty on success
    bool interrupted = false;  // stopped by cancel() or stop(): neither saved nor failed
    bool locked = false;       // a locked PDF the password (if any) did not open; no failure
  };
  Outcome convertOne(const std::filesystem::path& file, const std::string& format,
                     const std::string& password = {});

 private:
  void run(std::vector<std::filesystem::path> files, std::string format, Progress progress,
           Finished finished, std::string password);

  std::filesystem::path program_;
  int children_;
  std::thread worker_;
  std::atomic<bool> running_{false};
  std::atomic<bool> canceled_{false};
  std::mutex childMutex_;
  std::vector<pid_t> childPids_;    // the conversions in progress, guarded by childMutex_
  std::vector<pid_t> stoppedPids_;  // those of them asked to stop, guarded by childMutex_
};

}  // namespace Whirlpane
