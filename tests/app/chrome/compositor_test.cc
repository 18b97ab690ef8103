// Compositor detection against a real X server: Xvfb, with and without the
// xcompmgr compositing manager.
#include <gtest/gtest.h>
#include <xcb/xcb.h>

#include <QDeadlineTimer>
#include <QProcess>
#include <QStandardPaths>
#include <QThread>
#include <functional>

#include "app/chrome/desktop_glass.h"

namespace Whirlpane {
namespace {

// Polls `condition` until it holds or 10 s have passed; the programs started
// here take a moment to claim their selections.
bool eventually(const std::function<bool()>& condition) {
  const QDeadlineTimer deadline(10'000);
  while (!condition()) {
    if (deadline.hasExpired()) return false;
    QThread::msleep(20);
  }
  return true;
}

TEST(DesktopGlass, FindsTheCompositorByItsSelectionOwner) {
  const QString xvfb = QStandardPaths::findExecutable("Xvfb");
  const QString xcompmgr = QStandardPaths::findExecutable("xcompmgr");
  if (xvfb.isEmpty() || xcompmgr.isEmpty()) GTEST_SKIP() << "needs Xvfb and xcompmgr";

  // Xvfb picks a free display and writes its number to standard output.
  QProcess server;
  server.start(xvfb, {"-displayfd", "1", "-screen", "0", "320x240x24", "-nolisten", "tcp"});
  ASSERT_TRUE(server.waitForReadyRead(10'000)) << "Xvfb did not start";
  const QByteArray display = ":" + server.readLine().trimmed();
  xcb_connection_t* connection = xcb_connect(display.constData(), nullptr);
  ASSERT_EQ(xcb_connection_has_error(connection), 0) << display.constData();

  EXPECT_FALSE(compositorOwnsSelection(connection, 0));
  QProcess compositor;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert("DISPLAY", QString::fromLatin1(display));
  compositor.setProcessEnvironment(environment);
  compositor.start(xcompmgr, {});
  EXPECT_TRUE(eventually([&] { return compositorOwnsSelection(connection, 0); }));
  EXPECT_FALSE(compositorOwnsSelection(connection, 1));  // another screen's selection

  compositor.kill();
  compositor.waitForFinished();
  EXPECT_TRUE(eventually([&] { return !compositorOwnsSelection(connection, 0); }));

  xcb_disconnect(connection);
  server.terminate();
  server.waitForFinished();
}

}  // namespace
}  // namespace Whirlpane
