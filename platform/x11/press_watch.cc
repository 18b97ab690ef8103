// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/x11/press_watch.h"

#include <xcb/xcb.h>

#include <chrono>
#include <cstdlib>

#include "platform/x11/x11_connection.h"

namespace Whirlpane {

PressWatch::PressWatch(std::function<void()> pressed)
    : pressed_(std::move(pressed)), thread_([this] { run(); }) {}

PressWatch::~PressWatch() {
  {
    std::lock_guard lock(mutex_);
    ending_ = true;
  }
  wake_.notify_one();
  thread_.join();
}

void PressWatch::run() {
  uint32_t root = 0;
  xcb_connection_t* connection = connectToDisplay(&root);
  if (!connection) return;
  std::unique_lock lock(mutex_);
  while (!wake_.wait_for(lock, std::chrono::milliseconds(45), [this] { return ending_; })) {
    xcb_query_pointer_reply_t* reply =
        xcb_query_pointer_reply(connection, xcb_query_pointer(connection, root), nullptr);
    if (!reply) break;  // the server went away
    const bool down = reply->mask & XCB_BUTTON_MASK_1;
    std::free(reply);
    if (down && pressed_) pressed_();
  }
  lock.unlock();
  xcb_disconnect(connection);
}

}  // namespace Whirlpane
