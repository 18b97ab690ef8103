// SPDX-License-Identifier: GPL-3.0-or-later
#include "editors/common/save_queue.h"

#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

namespace Whirlpane {
namespace {

class WorkThread {
 public:
  WorkThread() : worker_([this] { run(); }) {}

  // At the program's end every save asked for is finished before the thread
  // goes: a file the user saved is written whole, and no save outlives the
  // engine it writes with.
  ~WorkThread() {
    {
      std::lock_guard lock(mutex_);
      ending_ = true;
    }
    ready_.notify_one();
    worker_.join();
  }

  void enqueue(std::function<void()> job) {
    {
      std::lock_guard lock(mutex_);
      jobs_.push_back(std::move(job));
    }
    ready_.notify_one();
  }

 private:
  void run() {
    for (;;) {
      std::function<void()> job;
      {
        std::unique_lock lock(mutex_);
        ready_.wait(lock, [this] { return ending_ || !jobs_.empty(); });
        if (jobs_.empty()) return;
        job = std::move(jobs_.front());
        jobs_.pop_front();
      }
      job();
    }
  }

  std::mutex mutex_;
  std::condition_variable ready_;
  std::deque<std::function<void()>> jobs_;
  bool ending_ = false;
  std::thread worker_;  // last: it starts once the rest is ready
};

}  // namespace

void enqueueSave(std::function<void()> job) {
  static WorkThread thread;
  thread.enqueue(std::move(job));
}

void enqueueDecode(std::function<void()> job) {
  static WorkThread thread;
  thread.enqueue(std::move(job));
}

void enqueueOpening(std::function<void()> job) {
  static WorkThread thread;
  thread.enqueue(std::move(job));
}

}  // namespace Whirlpane
