// SPDX-License-Identifier: GPL-3.0-or-later
// What the desktop program and its conversion workers ("whirlpane
// --batch-worker") say to each other over the worker's socket. A message is a
// list of fields, any bytes each (a path may hold a line break): the number of
// fields, then every field as its length in decimal, a line break and its
// bytes.
//
//   request:  "convert", source, format, output folder ("" for beside the
//             source), password for a locked PDF ("" for none)
//   replies:  "saved", output...
//             "locked"             a locked PDF the password did not open
//             "failed", kind, message    kind: "" or "folder" (the output folder
//                                        may not be written, or is full)
//
// A worker answers each request before reading the next and ends when the
// socket closes.
//
// Thread safety: a MessageReader belongs to one thread; the functions keep no
// state.
#pragma once

#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace Whirlpane::WorkerProtocol {

using Message = std::vector<std::string>;

inline std::string encoded(const Message& message) {
  std::string bytes = std::to_string(message.size()) + '\n';
  for (const std::string& field : message) {
    bytes += std::to_string(field.size());
    bytes += '\n';
    bytes += field;
  }
  return bytes;
}

// Sends `message` whole; false when the other end has gone. Never raises
// SIGPIPE.
inline bool send(int socket, const Message& message) {
  const std::string bytes = encoded(message);
  size_t sent = 0;
  while (sent < bytes.size()) {
    const ssize_t n = ::send(socket, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    sent += static_cast<size_t>(n);
  }
  return true;
}

// Reads messages from one socket, buffered.
class MessageReader {
 public:
  explicit MessageReader(int socket) : socket_(socket) {}

  // The next message, or no value when the socket closes (or fails, or
  // sends what is no message) before one is whole.
  std::optional<Message> next() {
    const std::optional<size_t> count = number();
    if (!count) return std::nullopt;
    Message message;
    for (size_t i = 0; i < *count; ++i) {
      const std::optional<size_t> size = number();
      if (!size || !fill(*size)) return std::nullopt;
      message.emplace_back(buffer_, at_, *size);
      at_ += *size;
    }
    return message;
  }

 private:
  // Until `size` unread bytes are buffered; false at the end of the stream.
  bool fill(size_t size) {
    while (buffer_.size() - at_ < size) {
      if (at_ > 0) {
        buffer_.erase(0, at_);
        at_ = 0;
      }
      char chunk[1 << 14];
      const ssize_t n = ::read(socket_, chunk, sizeof chunk);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) return false;
      buffer_.append(chunk, static_cast<size_t>(n));
    }
    return true;
  }

  // A decimal number ended by a line break.
  std::optional<size_t> number() {
    size_t value = 0;
    for (int digits = 0;; ++digits) {
      if (!fill(1)) return std::nullopt;
      const char c = buffer_[at_++];
      if (c == '\n' && digits > 0) return value;
      if (c < '0' || c > '9' || digits == 18) return std::nullopt;
      value = value * 10 + static_cast<size_t>(c - '0');
    }
  }

  int socket_;
  std::string buffer_;
  size_t at_ = 0;
};

}  // namespace Whirlpane::WorkerProtocol
