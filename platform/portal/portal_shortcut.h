// SPDX-License-Identifier: GPL-3.0-or-later
// Ctrl+Alt+Space where no X server takes key grabs (Wayland): a global
// shortcut asked of the desktop through the GlobalShortcuts portal, with
// Ctrl+Alt+Space as its preferred trigger. The desktop may ask the user
// first, or bind another key; Whirlpane only learns that the shortcut fired.
// Every call is asynchronous: a portal that is absent, refuses or never
// answers leaves the program without the key, and costs nothing else.
//
// Thread safety: main thread only.
#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QString>
#include <QVariantMap>
#include <functional>

class QDBusMessage;

namespace Whirlpane {

class PortalShortcut : public QObject {
  Q_OBJECT

 public:
  enum class State {
    binding,      // asked; no answer yet
    bound,        // activations reach onPressed
    unavailable,  // no portal on the bus, or the desktop or the user refused
  };

  // The shortcut's identifier, and the description the desktop shows (in
  // the program's language).
  static const QString identifier;
  static QString description();

  // Asks the portal on `bus` (the session bus in the program).
  PortalShortcut(QDBusConnection bus, std::function<void()> onPressed);
  ~PortalShortcut() override;
  PortalShortcut(const PortalShortcut&) = delete;
  PortalShortcut& operator=(const PortalShortcut&) = delete;

  State state() const { return state_; }
  // Told each time the state changes.
  std::function<void(State)> onStateChanged;

 private Q_SLOTS:
  void sessionCreated(uint response, const QVariantMap& results);
  void shortcutsBound(uint response, const QVariantMap& results);
  // Activated(session, shortcut, timestamp, options), from the portal.
  void activated(const QDBusMessage& signal);

 private:
  // Calls `method` of the portal and routes the answer on its request object
  // to `slot`; a failed call makes the key unavailable.
  void request(const QString& method, QList<QVariant> arguments, const QString& token,
               const char* slot);
  void setState(State state);

  QDBusConnection bus_;
  std::function<void()> onPressed_;
  QString session_;
  State state_ = State::binding;
};

}  // namespace Whirlpane
