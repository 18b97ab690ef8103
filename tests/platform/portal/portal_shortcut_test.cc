// SPDX-License-Identifier: GPL-3.0-or-later
// The shortcut asked of the real desktop portal (xdg-desktop-portal) on a
// private session bus, backed by shortcut_service.py as the desktop's own.
#include "platform/portal/portal_shortcut.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDeadlineTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <functional>

namespace Whirlpane {
namespace {

bool waitUntil(const std::function<bool()>& done, int milliseconds = 10000) {
  for (QDeadlineTimer deadline(milliseconds); !deadline.hasExpired();) {
    if (done()) return true;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    QThread::msleep(5);
  }
  return done();
}

TEST(PortalShortcut, BindsCtrlAltSpaceAndCountsOnlyItsOwnActivations) {
  const QString service = "org.freedesktop.impl.portal.desktop.whirlpanetest";
  QTemporaryDir folder;
  QFile portalFile(folder.filePath("whirlpanetest.portal"));
  ASSERT_TRUE(portalFile.open(QIODevice::WriteOnly));
  portalFile.write("[portal]\nDBusName=" + service.toUtf8() +
                   "\nInterfaces=org.freedesktop.impl.portal.GlobalShortcuts\n"
                   "UseIn=whirlpanetest\n");
  portalFile.close();

  QProcess bus, shortcuts, portal;
  bus.start("dbus-daemon", {"--session", "--nofork", "--print-address=1"});
  ASSERT_TRUE(bus.waitForReadyRead(5000)) << "dbus-daemon did not start";
  const QString address = QString::fromUtf8(bus.readLine()).trimmed();
  QDBusConnection connection = QDBusConnection::connectToBus(address, address);
  const auto registered = [&](const QString& name) {
    return waitUntil([&] { return connection.interface()->isServiceRegistered(name).value(); });
  };
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert("DBUS_SESSION_BUS_ADDRESS", address);
  environment.insert("XDG_DESKTOP_PORTAL_DIR", folder.path());
  environment.insert("XDG_CURRENT_DESKTOP", "whirlpanetest");
  for (QProcess* child : {&shortcuts, &portal}) child->setProcessEnvironment(environment);
  shortcuts.start("/usr/bin/python3",
                  {WHIRLPANE_SOURCE_DIR "/tests/platform/portal/shortcut_service.py"});
  ASSERT_TRUE(registered(service)) << "no shortcut service";
  portal.start("/usr/libexec/xdg-desktop-portal", {});
  ASSERT_TRUE(registered("org.freedesktop.portal.Desktop")) << "no portal";

  int presses = 0;
  {
    PortalShortcut shortcut(connection, [&] { ++presses; });
    ASSERT_TRUE(waitUntil([&] { return shortcut.state() != PortalShortcut::State::binding; }));
    ASSERT_EQ(shortcut.state(), PortalShortcut::State::bound);
    const auto ask = [&](const QString& method, const QString& argument) {
      return connection
          .call(QDBusMessage::createMethodCall(service, "/org/freedesktop/portal/desktop",
                                               "org.whirlpane.Test", method)
                << argument)
          .arguments()
          .value(0);
    };
    EXPECT_EQ(ask("Trigger", PortalShortcut::identifier).toString(), "CTRL+ALT+space");
    ask("Press", "another-programs-shortcut");
    ask("Press", PortalShortcut::identifier);
    EXPECT_TRUE(waitUntil([&] { return presses >= 1; }));
    waitUntil([] { return false; }, 500);  // time for a wrong second count
  }
  EXPECT_EQ(presses, 1);
  QDBusConnection::disconnectFromBus(address);
  for (QProcess* child : {&portal, &shortcuts, &bus}) {
    child->kill();
    child->waitForFinished();
  }
}

}  // namespace
}  // namespace Whirlpane
