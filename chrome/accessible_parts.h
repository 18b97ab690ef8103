// SPDX-License-Identifier: GPL-3.0-or-later
// Widgets drawn as several pressable parts (the wheel's wedges, a picker's
// segments) shown to assistive tools as a group of buttons: the widget's
// interface lists its parts as children, and each part is a button of its own
// with a name, a place on the screen, the Press action and, where it has one,
// a checked state. Each part is a QObject, the key under which Qt keeps its
// interface.
//
// Thread safety: main thread only, as Qt's accessibility is.
#pragma once

#include <QAccessibleActionInterface>
#include <QAccessibleInterface>
#include <QAccessibleWidget>
#include <QPointer>
#include <optional>
#include <vector>

namespace Whirlpane {

class AccessiblePart : public QAccessibleInterface, public QAccessibleActionInterface {
 public:
  explicit AccessiblePart(QObject* part) : part_(part) {}

  bool isValid() const override { return part_ && owner(); }
  QObject* object() const override { return part_; }
  QWindow* window() const override;
  QAccessibleInterface* parent() const override;
  QAccessibleInterface* child(int) const override { return nullptr; }
  int childCount() const override { return 0; }
  int indexOfChild(const QAccessibleInterface*) const override { return -1; }
  QAccessibleInterface* childAt(int, int) const override { return nullptr; }
  QString text(QAccessible::Text t) const override;
  void setText(QAccessible::Text, const QString&) override {}
  QRect rect() const override;
  QAccessible::Role role() const override { return QAccessible::Button; }
  QAccessible::State state() const override;
  void* interface_cast(QAccessible::InterfaceType type) override;
  QStringList actionNames() const override { return {pressAction()}; }
  void doAction(const QString& name) override;
  QStringList keyBindingsForAction(const QString&) const override { return {}; }

 protected:
  // The widget the part belongs to; null once either has gone.
  virtual QWidget* owner() const = 0;
  virtual QString label() const = 0;
  // Where the part lies, in the owner's coordinates.
  virtual QRect frameInOwner() const = 0;
  // Whether the part is chosen, for parts that can be; none for the others.
  virtual std::optional<bool> checked() const { return std::nullopt; }
  virtual void press() = 0;

 private:
  QPointer<QObject> part_;
};

class AccessibleParts : public QAccessibleWidget {
 public:
  using QAccessibleWidget::QAccessibleWidget;

  int childCount() const override { return static_cast<int>(parts().size()); }
  QAccessibleInterface* child(int index) const override;
  int indexOfChild(const QAccessibleInterface* child) const override;

 protected:
  // The parts, in reading order.
  virtual std::vector<QObject*> parts() const = 0;
};

}  // namespace Whirlpane
