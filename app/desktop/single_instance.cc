// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/desktop/single_instance.h"

#include <unistd.h>

#include <QDir>
#include <QLocalSocket>
#include <QTimer>

namespace Whirlpane {
namespace {

const QByteArray header = "whirlpane-open\n";

}  // namespace

QString SingleInstance::socketPath() {
  const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
  if (!runtime.isEmpty() && QDir::isAbsolutePath(runtime) && QDir(runtime).exists()) {
    return runtime + "/whirlpane.socket";
  }
  return QDir::tempPath() + "/whirlpane-" + QString::number(::getuid()) + ".socket";
}

QByteArray SingleInstance::encode(const LaunchOptions& request) {
  std::vector<std::string> arguments;
  if (request.format) arguments.insert(arguments.end(), {"--to", *request.format});
  if (request.editor) arguments.insert(arguments.end(), {"--editor", *request.editor});
  if (request.open) arguments.insert(arguments.end(), {"--open", request.open->string()});
  if (request.tools) arguments.push_back("--tools");
  if (request.window) arguments.push_back("--window");
  if (request.showWheel) arguments.push_back("--show-wheel");
  for (const auto& file : request.files) arguments.push_back(file.string());
  QByteArray message = header;
  for (const std::string& argument : arguments) {
    message.append(QByteArray::fromStdString(argument));
    message.append('\0');
  }
  return message;
}

std::optional<LaunchOptions> SingleInstance::decode(const QByteArray& message) {
  if (message.size() > messageLimit || !message.startsWith(header)) return std::nullopt;
  const QByteArray body = message.mid(header.size());
  if (!body.isEmpty() && !body.endsWith('\0')) return std::nullopt;
  std::vector<std::string> arguments{"whirlpane"};
  for (qsizetype start = 0; start < body.size();) {
    const qsizetype end = body.indexOf('\0', start);
    arguments.push_back(body.mid(start, end - start).toStdString());
    start = end + 1;
  }
  // Only what encode() writes: the running program resolves no path against
  // its own working folder, and takes no test mode from another launch.
  for (size_t at = 1; at < arguments.size(); ++at) {
    const std::string& argument = arguments[at];
    if (argument == "--to" || argument == "--editor") {
      if (++at == arguments.size()) return std::nullopt;
    } else if (argument == "--open") {
      if (++at == arguments.size() || !std::filesystem::path(arguments[at]).is_absolute())
        return std::nullopt;
    } else if (argument != "--tools" && argument != "--window" && argument != "--show-wheel" &&
               !std::filesystem::path(argument).is_absolute()) {
      return std::nullopt;
    }
  }
  return parseLaunchOptions(arguments);
}

bool SingleInstance::handOver(const LaunchOptions& request, int timeoutMilliseconds) {
  QLocalSocket socket;
  socket.connectToServer(socketPath());
  if (!socket.waitForConnected(timeoutMilliseconds)) return false;
  socket.write(encode(request));
  if (!socket.waitForBytesWritten(timeoutMilliseconds)) return false;
  socket.disconnectFromServer();
  return socket.state() == QLocalSocket::UnconnectedState ||
         socket.waitForDisconnected(timeoutMilliseconds);
}

bool SingleInstance::listen(std::function<void(LaunchOptions)> onRequest) {
  onRequest_ = std::move(onRequest);
  server_.setSocketOptions(QLocalServer::UserAccessOption);
  const QString path = socketPath();
  if (!server_.listen(path)) {
    // Nobody answered there (handOver failed first): a socket left by a
    // program that ended without removing it.
    QLocalServer::removeServer(path);
    if (!server_.listen(path)) return false;
  }
  QObject::connect(&server_, &QLocalServer::newConnection, &server_, [this] {
    while (QLocalSocket* socket = server_.nextPendingConnection()) {
      auto* received = new QByteArray;
      // A sender that never finishes costs nothing but its socket.
      QTimer::singleShot(5000, socket, [socket] { socket->abort(); });
      QObject::connect(socket, &QLocalSocket::readyRead, socket, [socket, received] {
        received->append(socket->readAll());
        if (received->size() > messageLimit) socket->abort();
      });
      QObject::connect(socket, &QLocalSocket::disconnected, socket, [this, socket, received] {
        received->append(socket->readAll());
        if (std::optional<LaunchOptions> request = decode(*received); request && onRequest_) {
          onRequest_(std::move(*request));
        }
        delete received;
        socket->deleteLater();
      });
    }
  });
  return true;
}

}  // namespace Whirlpane
