// SPDX-License-Identifier: GPL-3.0-or-later
// The editors' own error: one message, shown to the user as it stands.
//
// Thread safety: an immutable value; any thread.
#pragma once

#include <exception>
#include <string>
#include <utility>

namespace Whirlpane {

class EditorError : public std::exception {
 public:
  explicit EditorError(std::string text) : message(std::move(text)) {}

  // What the user reads; also what().
  std::string message;

  const char* what() const noexcept override { return message.c_str(); }
};

}  // namespace Whirlpane
