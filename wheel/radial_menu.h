// The wheel view: a square widget that paints the wheel of Whirlpane's actions
// around its centre. It holds what the wheel shows and repaints itself when
// that changes; choosing, dragging and keys are handled elsewhere.
//
// Thread safety: main thread only.
#pragma once

#include <QWidget>
#include <filesystem>
#include <optional>
#include <vector>

#include "wheel/wheel_geometry.h"
#include "wheel/wheel_state.h"

namespace Whirlpane {

class RadialMenu : public QWidget {
  Q_OBJECT
  // Animatable: the captions fade in after the wheel appears.
  Q_PROPERTY(double labelAlpha READ labelAlpha WRITE setLabelAlpha)

 public:
  explicit RadialMenu(QWidget* parent = nullptr);

  const WheelState& state() const { return state_; }
  // The geometry of the current wedges in the current size.
  WheelGeometry wheelGeometry() const;

  const std::vector<WheelAction>& actions() const { return state_.actions; }
  // Also clears the hovered wedge.
  void setActions(std::vector<WheelAction> actions);
  void setFile(std::optional<std::filesystem::path> file);
  void setFiles(std::vector<std::filesystem::path> files);
  void setProvisionalFiles(std::vector<std::filesystem::path> files);
  std::optional<int> hovered() const { return state_.hovered; }
  // Repaints only when the hovered wedge actually changes.
  void setHovered(std::optional<int> hovered);
  double labelAlpha() const { return state_.labelAlpha; }
  void setLabelAlpha(double alpha);
  void setHasGlassBackdrop(bool glass);
  // Does not repaint by itself: the tools wheel also brings its own actions.
  void setIsTools(bool tools) { state_.isTools = tools; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  WheelState state_;
};

}  // namespace Whirlpane
