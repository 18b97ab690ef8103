// SPDX-License-Identifier: GPL-3.0-or-later
#include "wheel/wheel_panel.h"

#include <QWindow>

#include "chrome/backdrop.h"
#include "chrome/grow_animation.h"
#include "platform/platform.h"
#include "settings/settings.h"
#include "wheel/radial_menu.h"
#include "wheel/wheel_geometry.h"

namespace Whirlpane {

namespace {

constexpr int side = static_cast<int>(WheelGeometry::panelSize);
constexpr int margin = static_cast<int>(WheelGeometry::margin);

}  // namespace

WheelPanel::WheelPanel(bool composited)
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                           Qt::WindowDoesNotAcceptFocus),
      composited_(composited) {
  setObjectName("wheel-panel");
  setWindowTitle("Whirlpane");
  setAttribute(Qt::WA_ShowWithoutActivating);
  // Without a compositor transparent pixels are black: the window stays
  // opaque and is cut to the disc instead.
  setAttribute(Qt::WA_TranslucentBackground, composited);
  setFixedSize(side, side);

  content_ = new QWidget(this);
  content_->setGeometry(rect());
  const BackdropStyle style = !composited            ? BackdropStyle::opaque
                              : systemGlassSetting() ? BackdropStyle::glass
                                                     : BackdropStyle::frosted;
  backdrop_ = new Backdrop(style, WheelGeometry::radius, true, content_);
  backdrop_->setGeometry(margin, margin, side - 2 * margin, side - 2 * margin);
  menu_ = new RadialMenu(content_);
  menu_->setGeometry(content_->rect());
  menu_->setHasGlassBackdrop(style == BackdropStyle::glass);

  grow_ = new GrowAnimation(content_);
  grow_->onFrame = [this](qreal scale) { cutToScale(scale); };
  // The native window exists from the start, so that the first showing for a
  // drag is as quick as every later one.
  winId();
}

void WheelPanel::setAcceptsFocus(bool accepts) {
  windowHandle()->setFlag(Qt::WindowDoesNotAcceptFocus, !accepts);
}

void WheelPanel::cutToScale(qreal scale) {
  const QRegion shape = backdrop_->windowShape(scale);
  if (!composited_) {
    setMask(shape);
    return;
  }
  Platform::current().setInputRegion(this, shape);
  if (backdrop_->style() == BackdropStyle::glass)
    Platform::current().requestBlurBehind(this, shape);
}

void WheelPanel::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  Platform::current().markAsFloatingPanel(this);
  // The backdrop shapes the window for its full size as it is shown; a
  // growing wheel is smaller.
  cutToScale(grow_->scale());
}

}  // namespace Whirlpane
