// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/portal/portal_shortcut.h"

#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QRandomGenerator>

namespace {

// One entry of the shortcut list the portal takes: a(sa{sv}).
struct ShortcutEntry {
  QString identifier;
  QVariantMap options;
};

QDBusArgument& operator<<(QDBusArgument& argument, const ShortcutEntry& entry) {
  argument.beginStructure();
  argument << entry.identifier << entry.options;
  argument.endStructure();
  return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, ShortcutEntry& entry) {
  argument.beginStructure();
  argument >> entry.identifier >> entry.options;
  argument.endStructure();
  return argument;
}

}  // namespace

Q_DECLARE_METATYPE(ShortcutEntry)

namespace Whirlpane {
namespace {

const QString portalService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString portalPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString shortcutsInterface = QStringLiteral("org.freedesktop.portal.GlobalShortcuts");

// A token for one request; the portal names the request object after it.
QString freshToken() {
  return QStringLiteral("whirlpane%1").arg(QRandomGenerator::global()->generate());
}

// The object a request with `token` answers on: the portal derives it from
// the caller's unique name, so it can be watched before the call is made and
// no answer is missed.
QString requestPath(const QDBusConnection& bus, const QString& token) {
  QString sender = bus.baseService().mid(1);
  sender.replace('.', '_');
  return QStringLiteral("/org/freedesktop/portal/desktop/request/%1/%2").arg(sender, token);
}

}  // namespace

const QString PortalShortcut::identifier = QStringLiteral("show-wheel");
QString PortalShortcut::description() {
  //: How the desktop's keyboard settings list Whirlpane's shortcut.
  return tr("Open or hide the Whirlpane wheel");
}

PortalShortcut::PortalShortcut(QDBusConnection bus, std::function<void()> onPressed)
    : bus_(std::move(bus)), onPressed_(std::move(onPressed)) {
  qDBusRegisterMetaType<ShortcutEntry>();
  qDBusRegisterMetaType<QList<ShortcutEntry>>();
  if (!bus_.isConnected()) {
    state_ = State::unavailable;
    return;
  }
  bus_.connect(portalService, portalPath, shortcutsInterface, QStringLiteral("Activated"), this,
               SLOT(activated(QDBusMessage)));
  const QString token = freshToken();
  request(QStringLiteral("CreateSession"),
          {QVariantMap{{QStringLiteral("handle_token"), token},
                       {QStringLiteral("session_handle_token"), freshToken()}}},
          token, SLOT(sessionCreated(uint, QVariantMap)));
}

PortalShortcut::~PortalShortcut() {
  if (session_.isEmpty()) return;
  // The shortcut ends with the session; nothing waits for the answer.
  bus_.call(QDBusMessage::createMethodCall(portalService, session_,
                                           QStringLiteral("org.freedesktop.portal.Session"),
                                           QStringLiteral("Close")),
            QDBus::NoBlock);
}

void PortalShortcut::request(const QString& method, QList<QVariant> arguments, const QString& token,
                             const char* slot) {
  bus_.connect(portalService, requestPath(bus_, token),
               QStringLiteral("org.freedesktop.portal.Request"), QStringLiteral("Response"), this,
               slot);
  QDBusMessage call =
      QDBusMessage::createMethodCall(portalService, portalPath, shortcutsInterface, method);
  call.setArguments(arguments);
  auto* watcher = new QDBusPendingCallWatcher(bus_.asyncCall(call), this);
  connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* done) {
    if (done->isError()) setState(State::unavailable);
    done->deleteLater();
  });
}

void PortalShortcut::sessionCreated(uint response, const QVariantMap& results) {
  session_ = results.value(QStringLiteral("session_handle")).toString();
  if (response != 0 || session_.isEmpty() || state_ != State::binding) {
    setState(State::unavailable);
    return;
  }
  const QList<ShortcutEntry> shortcuts{
      {identifier,
       {{QStringLiteral("description"), description()},
        {QStringLiteral("preferred_trigger"), QStringLiteral("CTRL+ALT+space")}}}};
  const QString token = freshToken();
  request(QStringLiteral("BindShortcuts"),
          {QVariant::fromValue(QDBusObjectPath(session_)), QVariant::fromValue(shortcuts),
           QString(), QVariantMap{{QStringLiteral("handle_token"), token}}},
          token, SLOT(shortcutsBound(uint, QVariantMap)));
}

void PortalShortcut::shortcutsBound(uint response, const QVariantMap&) {
  if (state_ == State::binding) setState(response == 0 ? State::bound : State::unavailable);
}

void PortalShortcut::activated(const QDBusMessage& signal) {
  const QList<QVariant> arguments = signal.arguments();
  if (arguments.size() < 2 || state_ != State::bound) return;
  const QString session = arguments[0].value<QDBusObjectPath>().path();
  if (session == session_ && arguments[1].toString() == identifier && onPressed_) onPressed_();
}

void PortalShortcut::setState(State state) {
  if (state == state_) return;
  state_ = state;
  if (onStateChanged) onStateChanged(state);
}

}  // namespace Whirlpane
