// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/x11/drag_reader.h"

#include <xcb/xcb.h>
#include <xcb/xfixes.h>
#include <xcb/xinput.h>

#include <QSocketNotifier>
#include <bit>
#include <cstdlib>
#include <memory>
#include <string_view>

#include "platform/x11/press_watch.h"
#include "platform/x11/x11_connection.h"

namespace Whirlpane {
namespace {

template <typename Reply>
using Owned = std::unique_ptr<Reply, decltype(&std::free)>;

// The largest list read: 4 MiB of URIs (in 32-bit units).
constexpr uint32_t longestList = 1u << 20;

// A motion's stamp is asked again until it has waited this many ticks
// (about 1.4 s): a source that has not handled the motion by then is not
// waited for any longer.
constexpr unsigned lastAsking = 32;

// The motions kept for one press: 8 s of a 125 Hz mouse.
constexpr size_t mostMotions = 1024;

// Whether X time `a` is `b` or later, across the 32-bit wrap.
bool notBefore(uint32_t a, uint32_t b) { return static_cast<int32_t>(a - b) >= 0; }

}  // namespace

X11DragReader::X11DragReader(std::function<void()> pressed) {
  uint32_t root = 0;
  xcb_connection_t* connection = connectToDisplay(&root);
  if (!connection) return;
  const xcb_query_extension_reply_t* xfixes = xcb_get_extension_data(connection, &xcb_xfixes_id);
  if (!xfixes || !xfixes->present) {
    xcb_disconnect(connection);
    return;
  }
  // The version must be asked before any other XFixes request.
  std::free(xcb_xfixes_query_version_reply(connection, xcb_xfixes_query_version(connection, 5, 0),
                                           nullptr));
  connection_ = connection;
  xfixesEvent_ = xfixes->first_event + XCB_XFIXES_SELECTION_NOTIFY;
  root_ = root;
  // A window of our own, never mapped, to receive the converted selection.
  window_ = xcb_generate_id(connection_);
  const uint32_t mask = XCB_EVENT_MASK_PROPERTY_CHANGE;
  xcb_create_window(connection_, XCB_COPY_FROM_PARENT, window_, root_, 0, 0, 1, 1, 0,
                    XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, XCB_CW_EVENT_MASK, &mask);
  // Interned once, at start, with their exact lengths.
  selection_ = internAtom(connection_, "XdndSelection");
  uriList_ = internAtom(connection_, "text/uri-list");
  property_ = internAtom(connection_, "WHIRLPANE_DRAG");
  xcb_xfixes_select_selection_input(connection_, window_, selection_,
                                    XCB_XFIXES_SELECTION_EVENT_MASK_SET_SELECTION_OWNER);
  const xcb_query_extension_reply_t* xinput = xcb_get_extension_data(connection_, &xcb_input_id);
  if (xinput && xinput->present) {
    const Owned<xcb_input_xi_query_version_reply_t> version(
        xcb_input_xi_query_version_reply(connection_, xcb_input_xi_query_version(connection_, 2, 2),
                                         nullptr),
        &std::free);
    if (version && (version->major_version > 2 ||
                    (version->major_version == 2 && version->minor_version >= 1))) {
      xinput_ = xinput->major_opcode;
    }
  }
  xcb_flush(connection_);
  // A new owner is asked the moment it is announced: a Qt source answers
  // its owner's stamp only until its next motion.
  notifier_ = std::make_unique<QSocketNotifier>(xcb_get_file_descriptor(connection_),
                                                QSocketNotifier::Read);
  QObject::connect(notifier_.get(), &QSocketNotifier::activated, notifier_.get(),
                   [this] { takeEvents(); });
  presses_ = std::make_unique<PressWatch>(std::move(pressed));
}

X11DragReader::~X11DragReader() {
  presses_.reset();
  notifier_.reset();
  if (connection_) xcb_disconnect(connection_);
}

std::optional<DragReader::Pointer> X11DragReader::readPointer() {
  if (!connection_ || xcb_connection_has_error(connection_)) return std::nullopt;
  // Reading the reply reads whatever events came before it, too.
  const Owned<xcb_query_pointer_reply_t> reply(
      xcb_query_pointer_reply(connection_, xcb_query_pointer(connection_, root_), nullptr),
      &std::free);
  takeEvents(false);
  if (!reply) return std::nullopt;
  Pointer pointer;
  pointer.down = (reply->mask & XCB_BUTTON_MASK_1) != 0;
  // Motions are taken during presses, each press's apart.
  if (pointer.down != watchingMotions_) watchMotions(pointer.down);
  pointer.alt = (reply->mask & XCB_MOD_MASK_1) != 0;
  pointer.x = reply->root_x;
  pointer.y = reply->root_y;
  return pointer;
}

std::string X11DragReader::uriList() {
  if (!connection_) return {};
  takeEvents();
  if (answer_) return *answer_;
  if (owner_ == XCB_NONE) return {};
  // Asked again on every call until the source answers: sources refuse while
  // they are not ready, and a refusal is an answer without a property.
  ask(ownerTime_);
  for (Stamp& motion : motions_) {
    if (motion.ticks <= lastAsking && std::has_single_bit(motion.ticks + 1)) ask(motion.time);
    ++motion.ticks;
  }
  xcb_flush(connection_);
  return {};
}

void X11DragReader::watchMotions(bool on) {
  watchingMotions_ = on;
  motions_.clear();
  if (!xinput_) return;
  struct {
    xcb_input_event_mask_t head;
    uint32_t bits;
  } mask{{XCB_INPUT_DEVICE_ALL, 1}, on ? uint32_t{XCB_INPUT_XI_EVENT_MASK_RAW_MOTION} : 0u};
  xcb_input_xi_select_events(connection_, root_, 1, &mask.head);
  xcb_flush(connection_);
}

bool X11DragReader::buttonDown() {
  const Owned<xcb_query_pointer_reply_t> reply(
      xcb_query_pointer_reply(connection_, xcb_query_pointer(connection_, root_), nullptr),
      &std::free);
  return reply && (reply->mask & XCB_BUTTON_MASK_1) != 0;
}

void X11DragReader::ask(uint32_t time) {
  xcb_convert_selection(connection_, window_, selection_, uriList_, property_, time);
}

void X11DragReader::takeEvents(bool read) {
  while (xcb_generic_event_t* event =
             read ? xcb_poll_for_event(connection_) : xcb_poll_for_queued_event(connection_)) {
    const Owned<xcb_generic_event_t> owned(event, &std::free);
    const uint8_t type = event->response_type & 0x7F;
    if (type == xfixesEvent_) {
      const auto* notify = reinterpret_cast<xcb_xfixes_selection_notify_event_t*>(event);
      if (notify->selection != selection_) continue;
      ++changeCount_;
      owner_ = notify->owner;
      ownerTime_ = notify->selection_timestamp;
      answer_.reset();
      std::erase_if(motions_, [this](const Stamp& m) { return !notBefore(m.time, ownerTime_); });
      if (owner_ != XCB_NONE) {
        ask(ownerTime_);
        // A fast drag may leave the source's window before the first tick;
        // an owner taken without a press (a drag from the keyboard) has no
        // motions to wait for.
        if (!watchingMotions_ && buttonDown()) watchMotions(true);
        xcb_flush(connection_);
      }
    } else if (type == XCB_GE_GENERIC) {
      const auto* raw = reinterpret_cast<xcb_input_raw_motion_event_t*>(event);
      if (!xinput_ || raw->extension != xinput_ || raw->event_type != XCB_INPUT_RAW_MOTION ||
          !watchingMotions_ || (!motions_.empty() && motions_.back().time == raw->time)) {
        continue;  // a motion reported by both the device and its master
      }
      if (motions_.size() == mostMotions) motions_.erase(motions_.begin());
      motions_.push_back({raw->time, 0});
    } else if (type == XCB_SELECTION_NOTIFY) {
      const auto* notify = reinterpret_cast<xcb_selection_notify_event_t*>(event);
      if (notify->requestor != window_ || notify->selection != selection_) continue;
      if (notify->property == XCB_NONE) continue;  // refused; asked again later
      // An answer to an older owner's question is not this drag's, and a
      // second answer adds nothing.
      if (answer_ || (!notBefore(notify->time, ownerTime_) && notify->time != XCB_CURRENT_TIME)) {
        continue;
      }
      // The answer is in our window's property now: reading it waits for the
      // X server only. Deleted as it is read.
      const Owned<xcb_get_property_reply_t> value(
          xcb_get_property_reply(connection_,
                                 xcb_get_property(connection_, 1, window_, property_,
                                                  XCB_GET_PROPERTY_TYPE_ANY, 0, longestList),
                                 nullptr),
          &std::free);
      if (!value || value->format != 8) continue;  // INCR transfers and odd types: no files
      answer_.emplace(static_cast<const char*>(xcb_get_property_value(value.get())),
                      static_cast<size_t>(xcb_get_property_value_length(value.get())));
    }
  }
}

}  // namespace Whirlpane
