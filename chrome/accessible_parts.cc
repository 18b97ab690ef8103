// SPDX-License-Identifier: GPL-3.0-or-later
#include "chrome/accessible_parts.h"

#include <QWidget>
#include <QWindow>
#include <algorithm>

namespace Whirlpane {

QWindow* AccessiblePart::window() const {
  return isValid() ? owner()->window()->windowHandle() : nullptr;
}

QAccessibleInterface* AccessiblePart::parent() const {
  return isValid() ? QAccessible::queryAccessibleInterface(owner()) : nullptr;
}

QString AccessiblePart::text(QAccessible::Text t) const {
  return t == QAccessible::Name && isValid() ? label() : QString();
}

QRect AccessiblePart::rect() const {
  if (!isValid()) return {};
  const QRect local = frameInOwner();
  return QRect(owner()->mapToGlobal(local.topLeft()), local.size());
}

QAccessible::State AccessiblePart::state() const {
  QAccessible::State state;
  state.invisible = !isValid() || !owner()->isVisible();
  if (const std::optional<bool> chosen = isValid() ? checked() : std::nullopt) {
    state.checkable = true;
    state.checked = *chosen;
  }
  return state;
}

void* AccessiblePart::interface_cast(QAccessible::InterfaceType type) {
  return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this)
                                              : nullptr;
}

void AccessiblePart::doAction(const QString& name) {
  if (name == pressAction() && isValid()) press();
}

QAccessibleInterface* AccessibleParts::child(int index) const {
  if (index < 0 || index >= childCount()) return nullptr;
  return QAccessible::queryAccessibleInterface(parts()[static_cast<size_t>(index)]);
}

int AccessibleParts::indexOfChild(const QAccessibleInterface* child) const {
  const std::vector<QObject*> list = parts();
  const auto found = std::find(list.begin(), list.end(), child ? child->object() : nullptr);
  return found == list.end() ? -1 : static_cast<int>(found - list.begin());
}

}  // namespace Whirlpane
