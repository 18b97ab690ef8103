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

QByteArray SingleInstance::encode(const Files& files) {
  QByteArray message = header;
  for (const auto& file : files) {
    message.append(QByteArray::fromStdString(file.string()));
    message.append('\0');
  }
  return message;
}

std::optional<SingleInstance::Files> SingleInstance::decode(const QByteArray& message) {
  if (message.size() > messageLimit || !message.startsWith(header)) return std::nullopt;
  const QByteArray body = message.mid(header.size());
  if (!body.isEmpty() && !body.endsWith('\0')) return std::nullopt;
  Files files;
  for (qsizetype start = 0; start < body.size();) {
    const qsizetype end = body.indexOf('\0', start);
    const std::filesystem::path file(body.mid(start, end - start).toStdString());
    if (!file.is_absolute()) return std::nullopt;
    files.push_back(file);
    start = end + 1;
  }
  return files;
}

bool SingleInstance::handOver(const Files& files, int timeoutMilliseconds) {
  QLocalSocket socket;
  socket.connectToServer(socketPath());
  if (!socket.waitForConnected(timeoutMilliseconds)) return false;
  socket.write(encode(files));
  if (!socket.waitForBytesWritten(timeoutMilliseconds)) return false;
  socket.disconnectFromServer();
  return socket.state() == QLocalSocket::UnconnectedState ||
         socket.waitForDisconnected(timeoutMilliseconds);
}

bool SingleInstance::listen(std::function<void(Files)> onFiles) {
  onFiles_ = std::move(onFiles);
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
        if (const std::optional<Files> files = decode(*received); files && onFiles_) {
          onFiles_(*files);
        }
        delete received;
        socket->deleteLater();
      });
    }
  });
  return true;
}

}  // namespace Whirlpane
