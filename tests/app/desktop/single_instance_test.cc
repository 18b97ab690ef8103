#include "app/desktop/single_instance.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFileInfo>
#include <QLocalSocket>
#include <QTemporaryDir>

#include "tests/support/scoped_environment.h"

namespace Whirlpane {
namespace {

using Files = SingleInstance::Files;

TEST(SingleInstance, OnlyWellFormedMessagesNameFiles) {
  const Files files{"/home/u/a photo.jpg", "/tmp/b\nc.png"};
  EXPECT_EQ(SingleInstance::decode(SingleInstance::encode(files)), files);
  EXPECT_EQ(SingleInstance::decode(SingleInstance::encode({})), Files{});
  const QByteArray malformed[] = {
      // the last one well formed but too large
      "",
      "whirlpane-open",                                  // header cut short
      "whirlpane-close\n/a.jpg",                         // another header
      QByteArray("whirlpane-open\n/a.jpg\0/b.jpg", 28),  // the last path is not ended
      QByteArray("whirlpane-open\nrelative.jpg\0", 29),  // not absolute
      "whirlpane-open\n" + QByteArray("/a.jpg\0", 7).repeated(SingleInstance::messageLimit / 7),
  };
  for (const QByteArray& message : malformed) {
    EXPECT_EQ(SingleInstance::decode(message), std::nullopt) << message.left(40).toStdString();
  }
}

TEST(SingleInstance, ALaterLaunchHandsItsFilesToTheRunningOne) {
  QTemporaryDir runtime;
  const ScopedEnvironment environment("XDG_RUNTIME_DIR", runtime.path().toUtf8());
  EXPECT_FALSE(SingleInstance::handOver({"/a.jpg"}, 200)) << "nobody listens yet";

  std::vector<Files> received;
  SingleInstance running;
  ASSERT_TRUE(running.listen([&](Files files) { received.push_back(std::move(files)); }));
  EXPECT_EQ(QFileInfo(SingleInstance::socketPath()).permissions() &
                (QFile::ReadOther | QFile::WriteOther | QFile::ReadGroup | QFile::WriteGroup),
            QFile::Permissions())
      << "only this user may connect";

  // A sender of garbage is ignored; the next well-formed request still arrives.
  QLocalSocket garbage;
  garbage.connectToServer(SingleInstance::socketPath());
  ASSERT_TRUE(garbage.waitForConnected(1000));
  garbage.write("GET / HTTP/1.0\r\n\r\n");
  garbage.waitForBytesWritten(1000);
  garbage.disconnectFromServer();

  // handOver blocks this thread, so the server side is served by the event
  // loop afterwards: the bytes wait in the socket until then.
  EXPECT_TRUE(SingleInstance::handOver({"/p/one.jpg", "/p/two.pdf"}, 1000));
  for (QDeadlineTimer deadline(3000); received.empty() && !deadline.hasExpired();) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
  }
  EXPECT_EQ(received, (std::vector<Files>{{"/p/one.jpg", "/p/two.pdf"}}));
}

}  // namespace
}  // namespace Whirlpane
