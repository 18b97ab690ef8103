#include "wheel/radial_menu.h"

#include <QPainter>

#include "wheel/wheel_painter.h"

namespace Whirlpane {

RadialMenu::RadialMenu(QWidget* parent) : QWidget(parent) {
  resize(static_cast<int>(WheelGeometry::panelSize), static_cast<int>(WheelGeometry::panelSize));
}

WheelGeometry RadialMenu::wheelGeometry() const {
  return WheelGeometry(static_cast<int>(state_.actions.size()), width(), height());
}

void RadialMenu::setActions(std::vector<WheelAction> actions) {
  state_.actions = std::move(actions);
  state_.hovered.reset();
  update();
}

void RadialMenu::setFile(std::optional<std::filesystem::path> file) {
  state_.file = std::move(file);
  update();
}

void RadialMenu::setFiles(std::vector<std::filesystem::path> files) {
  state_.files = std::move(files);
  update();
}

void RadialMenu::setProvisionalFiles(std::vector<std::filesystem::path> files) {
  state_.provisionalFiles = std::move(files);
  update();
}

void RadialMenu::setHovered(std::optional<int> hovered) {
  if (hovered == state_.hovered) return;
  state_.hovered = hovered;
  update();
}

void RadialMenu::setLabelAlpha(double alpha) {
  state_.labelAlpha = alpha;
  update();
}

void RadialMenu::setHasGlassBackdrop(bool glass) {
  state_.hasGlassBackdrop = glass;
  update();
}

void RadialMenu::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  WheelPainter::paint(painter, size(), state_);
}

}  // namespace Whirlpane
