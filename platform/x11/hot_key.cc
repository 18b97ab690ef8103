// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/x11/hot_key.h"

#include <xcb/xcb.h>

#include <cstdlib>
#include <vector>

#include "platform/x11/x11_connection.h"

namespace Whirlpane {
namespace {

constexpr uint32_t spaceKeysym = 0x20;
constexpr uint16_t lockVariants[] = {0, XCB_MOD_MASK_2, XCB_MOD_MASK_LOCK,
                                     XCB_MOD_MASK_2 | XCB_MOD_MASK_LOCK};
constexpr uint16_t controlAlt = XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_1;
constexpr uint8_t badAccess = 10;

// The first key code whose unshifted symbol is Space, or 0.
unsigned char spaceKeycode(xcb_connection_t* connection) {
  const xcb_setup_t* setup = xcb_get_setup(connection);
  const auto first = setup->min_keycode;
  const auto count = static_cast<uint8_t>(setup->max_keycode - first + 1);
  xcb_get_keyboard_mapping_reply_t* mapping = xcb_get_keyboard_mapping_reply(
      connection, xcb_get_keyboard_mapping(connection, first, count), nullptr);
  if (!mapping) return 0;
  const xcb_keysym_t* symbols = xcb_get_keyboard_mapping_keysyms(mapping);
  const int perCode = mapping->keysyms_per_keycode;
  unsigned char found = 0;
  for (int code = 0; code < count && !found; ++code) {
    if (symbols[code * perCode] == spaceKeysym) found = static_cast<unsigned char>(first + code);
  }
  std::free(mapping);
  return found;
}

}  // namespace

X11HotKey::X11HotKey(std::function<void()> onPressed) : onPressed_(std::move(onPressed)) {
  connection_ = connectToDisplay(&root_);
  if (!connection_) return;
  grab();
  notifier_ = std::make_unique<QSocketNotifier>(xcb_get_file_descriptor(connection_),
                                                QSocketNotifier::Read);
  connect(notifier_.get(), &QSocketNotifier::activated, this, [this] { drain(); });
}

X11HotKey::~X11HotKey() {
  notifier_.reset();
  if (connection_) {
    ungrab();
    xcb_flush(connection_);
    xcb_disconnect(connection_);
  }
}

void X11HotKey::grab() {
  keycode_ = spaceKeycode(connection_);
  if (keycode_ == 0) {
    state_ = State::unavailable;
    return;
  }
  std::vector<xcb_void_cookie_t> cookies;
  for (const uint16_t locks : lockVariants) {
    cookies.push_back(xcb_grab_key_checked(connection_, 1, root_, controlAlt | locks, keycode_,
                                           XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC));
  }
  state_ = State::grabbed;
  for (const xcb_void_cookie_t cookie : cookies) {
    if (xcb_generic_error_t* error = xcb_request_check(connection_, cookie)) {
      if (error->error_code == badAccess) state_ = State::taken;
      std::free(error);
    }
  }
  if (state_ == State::taken) ungrab();  // keep no half of the variants
  xcb_flush(connection_);
}

void X11HotKey::ungrab() {
  if (keycode_ == 0) return;
  for (const uint16_t locks : lockVariants) {
    xcb_ungrab_key(connection_, keycode_, root_, controlAlt | locks);
  }
}

void X11HotKey::drain() {
  std::vector<xcb_generic_event_t*> events;
  while (xcb_generic_event_t* event = xcb_poll_for_event(connection_)) events.push_back(event);
  bool grabbedAgain = false;
  for (size_t i = 0; i < events.size(); ++i) {
    const uint8_t type = events[i]->response_type & 0x7F;
    if (type == XCB_KEY_PRESS) {
      down_ = true;
    } else if (type == XCB_KEY_RELEASE) {
      // A repeating key sends a release and a press with one time stamp: the
      // key is still down.
      const auto* release = reinterpret_cast<xcb_key_release_event_t*>(events[i]);
      const bool repeat =
          i + 1 < events.size() && (events[i + 1]->response_type & 0x7F) == XCB_KEY_PRESS &&
          reinterpret_cast<xcb_key_press_event_t*>(events[i + 1])->time == release->time;
      if (repeat) {
        ++i;
      } else if (down_) {
        // Acted on at the release: while the key is down our grab holds the
        // keyboard, and a wheel that took the focus then would lose it when
        // the grab ends.
        down_ = false;
        if (onPressed_) onPressed_();
      }
    } else if (type == XCB_MAPPING_NOTIFY && state_ == State::grabbed) {
      ungrab();
      grab();
      grabbedAgain = true;
    }
  }
  for (xcb_generic_event_t* event : events) std::free(event);
  if (xcb_connection_has_error(connection_)) {
    notifier_->setEnabled(false);
    return;
  }
  // Waiting for the grab's replies may have read further events into xcb's
  // queue, leaving nothing on the socket to wake the notifier for them.
  if (grabbedAgain) drain();
}

}  // namespace Whirlpane
