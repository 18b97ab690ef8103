// SPDX-License-Identifier: GPL-3.0-or-later
// One running desktop program per user. A later launch hands its whole request
// (files, format, editor, tools) to the running one over a local socket that
// only this user can open, and exits; the running one carries it out as if it
// had been launched with it.
//
// The message is "whirlpane-open\n" followed by arguments, each ended by a
// NUL: "--to" FORMAT, "--editor" EDITOR, "--open" PATH, "--tools", "--window" and
// "--show-wheel" as given,
// then the absolute paths of the other files; at most 1 MiB in all. Anything
// else that arrives is ignored.
//
// Thread safety: main thread only (Qt's local sockets).
#pragma once

#include <QByteArray>
#include <QLocalServer>
#include <QString>
#include <filesystem>
#include <functional>
#include <optional>
#include <vector>

#include "app/desktop/launch_options.h"

namespace Whirlpane {

class SingleInstance {
 public:
  using Files = std::vector<std::filesystem::path>;

  static constexpr qsizetype messageLimit = 1 << 20;

  // $XDG_RUNTIME_DIR/whirlpane.socket; without that folder, a name with the
  // user's id in the temporary folder.
  static QString socketPath();

  // The message for `request` (its test mode stays with the launch).
  static QByteArray encode(const LaunchOptions& request);
  // The request of a well-formed message: the header, then NUL-terminated
  // arguments as encode() writes them, every path absolute, nothing after
  // the last NUL. None otherwise.
  static std::optional<LaunchOptions> decode(const QByteArray& message);

  // Hands `request` to the running instance. True when one took it.
  static bool handOver(const LaunchOptions& request, int timeoutMilliseconds = 2000);

  // Becomes the running instance: listens for later launches and passes each
  // well-formed request to `onRequest`. False when the socket cannot be made.
  bool listen(std::function<void(LaunchOptions)> onRequest);

 private:
  QLocalServer server_;
  std::function<void(LaunchOptions)> onRequest_;
};

}  // namespace Whirlpane
