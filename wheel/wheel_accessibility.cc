// SPDX-License-Identifier: GPL-3.0-or-later
#include "wheel/wheel_accessibility.h"

#include "chrome/accessible_parts.h"
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

class WedgeAccessible : public AccessiblePart {
 public:
  explicit WedgeAccessible(WheelAccessibilityElement* element)
      : AccessiblePart(element), element_(element) {}

 protected:
  QWidget* owner() const override { return element_ ? element_->owner() : nullptr; }
  QString label() const override { return element_->label(); }
  QRect frameInOwner() const override {
    const QRect global = element_->frame();
    return QRect(element_->owner()->mapFromGlobal(global.topLeft()), global.size());
  }
  void press() override { element_->press(); }

 private:
  QPointer<WheelAccessibilityElement> element_;
};

class RadialMenuAccessible : public AccessibleParts {
 public:
  explicit RadialMenuAccessible(RadialMenu* menu) : AccessibleParts(menu, QAccessible::Grouping) {}

  QAccessibleInterface* childAt(int x, int y) const override {
    const auto index = menu()->wedgeAt(QPointF(x, y));
    return index ? child(*index) : nullptr;
  }

 protected:
  std::vector<QObject*> parts() const override {
    const auto& elements = menu()->actionElements();
    return {elements.begin(), elements.end()};
  }

 private:
  RadialMenu* menu() const { return static_cast<RadialMenu*>(widget()); }
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
