#include "app/desktop/portal_shortcut.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDeadlineTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <functional>
#include <memory>

namespace Whirlpane {
namespace {

const QString service = "org.freedesktop.impl.portal.desktop.whirlpanetest";

bool waitUntil(const std::function<bool()>& done) {
  for (QDeadlineTimer deadline(10000); !deadline.hasExpired();) {
    if (done()) return true;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    QThread::msleep(5);
  }
  return done();
}

// A private session bus with the real desktop portal on it, backed by the
// shortcut service of shortcut_service.py as the desktop's own.
class PortalSession {
 public:
  enum class Desktop { binds, refuses, absent };

  explicit PortalSession(Desktop desktop) {
    bus_.start("dbus-daemon", {"--session", "--nofork", "--print-address=1"});
    EXPECT_TRUE(bus_.waitForReadyRead(5000)) << "dbus-daemon did not start";
    address_ = QString::fromUtf8(bus_.readLine()).trimmed();
    connection_ =
        std::make_unique<QDBusConnection>(QDBusConnection::connectToBus(address_, address_));
    if (desktop == Desktop::absent) return;

    QFile portal(folder_.filePath("whirlpanetest.portal"));
    EXPECT_TRUE(portal.open(QIODevice::WriteOnly));
    portal.write("[portal]\nDBusName=" + service.toUtf8() +
                 "\nInterfaces=org.freedesktop.impl.portal.GlobalShortcuts\n"
                 "UseIn=whirlpanetest\n");
    portal.close();
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("DBUS_SESSION_BUS_ADDRESS", address_);
    environment.insert("XDG_DESKTOP_PORTAL_DIR", folder_.path());
    environment.insert("XDG_CURRENT_DESKTOP", "whirlpanetest");
    for (QProcess* child : {&shortcuts_, &portal_}) child->setProcessEnvironment(environment);

    QStringList script{WHIRLPANE_SOURCE_DIR "/tests/app/desktop/shortcut_service.py"};
    if (desktop == Desktop::refuses) script << "--refuse";
    shortcuts_.start("/usr/bin/python3", script);
    EXPECT_TRUE(waitUntil([&] { return registered(service); })) << "no shortcut service";
    portal_.start("/usr/libexec/xdg-desktop-portal", {});
    EXPECT_TRUE(waitUntil([&] { return registered("org.freedesktop.portal.Desktop"); }))
        << "no portal";
  }

  ~PortalSession() {
    connection_.reset();
    QDBusConnection::disconnectFromBus(address_);
    for (QProcess* child : {&portal_, &shortcuts_, &bus_}) {
      child->kill();
      child->waitForFinished();
    }
  }

  QDBusConnection& bus() { return *connection_; }

  // Calls `method` of the shortcut service's test interface.
  QVariant ask(const QString& method, const QString& argument) {
    return connection_
        ->call(QDBusMessage::createMethodCall(service, "/org/freedesktop/portal/desktop",
                                              "org.whirlpane.Test", method)
               << argument)
        .arguments()
        .value(0);
  }

 private:
  bool registered(const QString& name) {
    return connection_->interface()->isServiceRegistered(name).value();
  }

  QTemporaryDir folder_;
  QProcess bus_, shortcuts_, portal_;
  QString address_;
  std::unique_ptr<QDBusConnection> connection_;
};

TEST(PortalShortcut, BindsCtrlAltSpaceAndCountsOnlyItsOwnActivations) {
  struct Case {
    PortalSession::Desktop desktop;
    PortalShortcut::State state;
  } cases[] = {
      {PortalSession::Desktop::binds, PortalShortcut::State::bound},
      {PortalSession::Desktop::refuses, PortalShortcut::State::unavailable},
      {PortalSession::Desktop::absent, PortalShortcut::State::unavailable},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(static_cast<int>(test.desktop));
    PortalSession session(test.desktop);
    int presses = 0;
    PortalShortcut shortcut(session.bus(), [&] { ++presses; });
    ASSERT_TRUE(waitUntil([&] { return shortcut.state() != PortalShortcut::State::binding; }));
    EXPECT_EQ(shortcut.state(), test.state);
    if (test.desktop == PortalSession::Desktop::absent) continue;
    const int bound = test.state == PortalShortcut::State::bound;
    if (bound) {
      EXPECT_EQ(session.ask("Trigger", PortalShortcut::identifier).toString(), "CTRL+ALT+space");
    }
    // Neither another program's shortcut nor one never bound counts.
    session.ask("Press", "another-programs-shortcut");
    session.ask("Press", PortalShortcut::identifier);
    EXPECT_TRUE(waitUntil([&] { return presses >= bound; }));
    for (QDeadlineTimer settle(500); !settle.hasExpired();) QCoreApplication::processEvents();
    EXPECT_EQ(presses, bound);
  }
}

}  // namespace
}  // namespace Whirlpane
