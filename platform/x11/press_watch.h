// SPDX-License-Identifier: GPL-3.0-or-later
// Waits for the left button without waking the interface: a thread of its
// own with a connection of its own asks the X server for the pointer every
// 45 ms and calls `pressed` (on that thread) each time it finds the button
// down. The drag watch's tick runs on the interface thread only while there
// is something to watch; at rest this is all that runs.
//
// Thread safety: construct and destroy on one thread; `pressed` runs on the
// watch's thread.
#pragma once

#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

namespace Whirlpane {

class PressWatch {
 public:
  // Starts watching the X server named by DISPLAY; without one, never calls.
  explicit PressWatch(std::function<void()> pressed);
  ~PressWatch();
  PressWatch(const PressWatch&) = delete;
  PressWatch& operator=(const PressWatch&) = delete;

 private:
  void run();

  std::function<void()> pressed_;
  std::mutex mutex_;
  std::condition_variable wake_;
  bool ending_ = false;
  std::thread thread_;
};

}  // namespace Whirlpane
