#include "editors/common/save_queue.h"

#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

namespace Whirlpane {
namespace {

struct SaveThread {
  std::mutex mutex;
  std::condition_variable ready;
  std::deque<std::function<void()>> jobs;

  SaveThread() {
    // Detached: a save still writing when the program ends is cut short with
    // the process, as the engine's working files expect.
    std::thread([this] {
      for (;;) {
        std::function<void()> job;
        {
          std::unique_lock lock(mutex);
          ready.wait(lock, [this] { return !jobs.empty(); });
          job = std::move(jobs.front());
          jobs.pop_front();
        }
        job();
      }
    }).detach();
  }
};

}  // namespace

void enqueueSave(std::function<void()> job) {
  // Never destroyed: the detached thread uses it until the process ends.
  static SaveThread* thread = new SaveThread;
  {
    std::lock_guard lock(thread->mutex);
    thread->jobs.push_back(std::move(job));
  }
  thread->ready.notify_one();
}

}  // namespace Whirlpane
