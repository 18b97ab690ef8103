// SPDX-License-Identifier: GPL-3.0-or-later
#include "wheel/wheel_accessibility.h"

#include <QAccessibleWidget>
#include <QWindow>
#include <algorithm>

#include "wheel/radial_menu.h"
#include "wheel/view_coordinates.h"

namespace Whirlpane {

WheelAccessibilityElement::WheelAccessibilityElement(RadialMenu* owner, int index,
                                                     const WheelAction& action)
    : QObject(owner), owner_(owner), index_(index), label_(QString::fromStdString(action.label)) {
  setObjectName(QString::fromStdString("wheel-" + action.key));
}

QRect WheelAccessibilityElement::frame() const {
  if (!owner_) return {};
  const QRectF box =
      ViewCoordinates(owner_->height()).toQt(owner_->wheelGeometry().wedge(index_)).boundingRect();
  return QRect(owner_->mapToGlobal(box.topLeft().toPoint()), box.size().toSize());
}

bool WheelAccessibilityElement::press() {
  if (!owner_) return false;
  owner_->execute(index_, owner_->files());
  return true;
}

namespace {

class WedgeAccessible : public QAccessibleInterface, public QAccessibleActionInterface {
 public:
  explicit WedgeAccessible(WheelAccessibilityElement* element) : element_(element) {}

  bool isValid() const override { return element_ && element_->owner(); }
  QObject* object() const override { return element_; }
  QWindow* window() const override {
    return isValid() ? element_->owner()->window()->windowHandle() : nullptr;
  }
  QAccessibleInterface* parent() const override {
    return isValid() ? QAccessible::queryAccessibleInterface(element_->owner()) : nullptr;
  }
  QAccessibleInterface* child(int) const override { return nullptr; }
  int childCount() const override { return 0; }
  int indexOfChild(const QAccessibleInterface*) const override { return -1; }
  QAccessibleInterface* childAt(int, int) const override { return nullptr; }
  QString text(QAccessible::Text t) const override {
    return t == QAccessible::Name && element_ ? element_->label() : QString();
  }
  void setText(QAccessible::Text, const QString&) override {}
  QRect rect() const override { return element_ ? element_->frame() : QRect(); }
  QAccessible::Role role() const override { return QAccessible::Button; }
  QAccessible::State state() const override {
    QAccessible::State state;
    state.invisible = !isValid() || !element_->owner()->isVisible();
    return state;
  }
  void* interface_cast(QAccessible::InterfaceType type) override {
    return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this)
                                                : nullptr;
  }

  QStringList actionNames() const override { return {pressAction()}; }
  void doAction(const QString& name) override {
    if (name == pressAction() && element_) element_->press();
  }
  QStringList keyBindingsForAction(const QString&) const override { return {}; }

 private:
  QPointer<WheelAccessibilityElement> element_;
};

class RadialMenuAccessible : public QAccessibleWidget {
 public:
  explicit RadialMenuAccessible(RadialMenu* menu)
      : QAccessibleWidget(menu, QAccessible::Grouping) {}

  int childCount() const override { return static_cast<int>(elements().size()); }
  QAccessibleInterface* child(int index) const override {
    if (index < 0 || index >= childCount()) return nullptr;
    return QAccessible::queryAccessibleInterface(elements()[index]);
  }
  int indexOfChild(const QAccessibleInterface* child) const override {
    const auto& list = elements();
    const auto found = std::find(list.begin(), list.end(), child ? child->object() : nullptr);
    return found == list.end() ? -1 : static_cast<int>(found - list.begin());
  }
  QAccessibleInterface* childAt(int x, int y) const override {
    const auto index = menu()->wedgeAt(QPointF(x, y));
    return index ? child(*index) : nullptr;
  }

 private:
  RadialMenu* menu() const { return static_cast<RadialMenu*>(widget()); }
  const std::vector<WheelAccessibilityElement*>& elements() const {
    return menu()->actionElements();
  }
};

QAccessibleInterface* wheelAccessible(const QString& className, QObject* object) {
  if (className == QLatin1String("Whirlpane::RadialMenu")) {
    if (auto* menu = qobject_cast<RadialMenu*>(object)) return new RadialMenuAccessible(menu);
  }
  if (className == QLatin1String("Whirlpane::WheelAccessibilityElement")) {
    if (auto* element = qobject_cast<WheelAccessibilityElement*>(object))
      return new WedgeAccessible(element);
  }
  return nullptr;
}

}  // namespace

void installWheelAccessibility() {
  static const bool installed = [] {
    QAccessible::installFactory(&wheelAccessible);
    return true;
  }();
  (void)installed;
}

}  // namespace Whirlpane
