// SPDX-License-Identifier: GPL-3.0-or-later
// The wheel for assistive tools. The view is a group named "Whirlpane radial
// menu" whose children are its wedges, one button per wedge, named by the
// wedge's label and pressed through the accessible press action, which acts
// on the wheel's files as a click would. Each wedge stands as a
// WheelAccessibilityElement whose object name, "wheel-" + the action's key,
// is its identifier (Qt reports object names as identifiers where the
// platform has them).
//
// Thread safety: main thread only.
#pragma once

#include <QObject>
#include <QPointer>
#include <QRect>
#include <QString>

#include "wheel/wheel_action.h"

namespace Whirlpane {

class RadialMenu;

class WheelAccessibilityElement : public QObject {
  Q_OBJECT

 public:
  // Wedge `index` of `owner`, which also owns the element.
  WheelAccessibilityElement(RadialMenu* owner, int index, const WheelAction& action);

  RadialMenu* owner() const { return owner_; }
  int index() const { return index_; }
  const QString& label() const { return label_; }

  // The wedge's bounding box on the desktop; an empty rectangle at the origin
  // once the owner is gone.
  QRect frame() const;

  // Acts on the owner's files with this wedge, as a click would; false
  // without an owner.
  bool press();

 private:
  QPointer<RadialMenu> owner_;
  int index_;
  QString label_;
};

// Teaches Qt's accessibility the wheel's shape; RadialMenu calls it, and
// calling it again does nothing.
void installWheelAccessibility();

}  // namespace Whirlpane
