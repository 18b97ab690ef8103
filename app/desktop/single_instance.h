// SPDX-License-Identifier: GPL-3.0-or-later
// One running desktop program per user. A later launch hands the files it was
// given to the running one over a local socket that only this user can open,
// and exits; the running one treats them as an open request.
//
// The message is "whirlpane-open\n" followed by each absolute path and a NUL,
// at most 1 MiB in all. Anything else that arrives is ignored.
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

namespace Whirlpane {

class SingleInstance {
 public:
  using Files = std::vector<std::filesystem::path>;

  static constexpr qsizetype messageLimit = 1 << 20;

  // $XDG_RUNTIME_DIR/whirlpane.socket; without that folder, a name with the
  // user's id in the temporary folder.
  static QString socketPath();

  static QByteArray encode(const Files& files);
  // The files of a well-formed message: the header, then NUL-terminated
  // absolute paths, nothing after the last NUL. None otherwise.
  static std::optional<Files> decode(const QByteArray& message);

  // Hands `files` to the running instance. True when one took them.
  static bool handOver(const Files& files, int timeoutMilliseconds = 2000);

  // Becomes the running instance: listens for later launches and passes each
  // well-formed request to `onFiles`. False when the socket cannot be made.
  bool listen(std::function<void(Files)> onFiles);

 private:
  QLocalServer server_;
  std::function<void(Files)> onFiles_;
};

}  // namespace Whirlpane
