// SPDX-License-Identifier: GPL-3.0-or-later
#include "wheel/wheel_controller.h"

#include <QCursor>
#include <QEasingCurve>
#include <QGuiApplication>
#include <QPropertyAnimation>
#include <QScreen>
#include <QSequentialAnimationGroup>
#include <QTimer>
#include <QWindow>
#include <cmath>

#include "chrome/grow_animation.h"
#include "platform/platform.h"
#include "wheel/panel_placement.h"
#include "wheel/radial_menu.h"
#include "wheel/spring.h"
#include "wheel/wheel_geometry.h"
#include "wheel/wheel_panel.h"

namespace Whirlpane {

namespace {

const Spring& growSpring() {
  static const Spring spring(WheelController::growFrom, 1, 22, 380, 1);
  return spring;
}

// The spring as an easing curve over its settling duration: 0 at the start,
// overshooting 1 on the way, exactly 1 at the end.
qreal springCurve(qreal progress) {
  if (progress >= 1) return 1;
  const Spring& spring = growSpring();
  return (spring.value(progress * spring.settlingDuration()) - WheelController::growFrom) /
         (1 - WheelController::growFrom);
}

}  // namespace

int WheelController::growMilliseconds() {
  return static_cast<int>(std::lround(growSpring().settlingDuration() * 1000));
}

WheelController::WheelController(bool composited, std::vector<WheelAction> tools)
    : panel_(std::make_unique<WheelPanel>(composited)),
      tools_(std::move(tools)),
      fadesWindow_(composited && Platform::current().fadesWindows()) {
  RadialMenu* menu = wheel();
  menu->onAction = [this](const WheelAction& action, const Files& files) {
    if (onAction) onAction(action, files);
  };
  menu->onToggle = [this] { setToolMode(!showingTools_); };
  menu->onDismiss = [this] { hideWheel(); };

  // Window opacity only shows through a compositor.
  if (fadesWindow_) {
    auto* window = new QPropertyAnimation(panel_.get(), "windowOpacity");
    window->setDuration(fadeMilliseconds);
    window->setStartValue(0.0);
    window->setEndValue(1.0);
    fades_.addAnimation(window);
  }
  auto* captions = new QSequentialAnimationGroup;
  captions->addPause(captionDelayMilliseconds);
  auto* captionFade = new QPropertyAnimation(menu, "labelAlpha");
  captionFade->setDuration(fadeMilliseconds);
  captionFade->setStartValue(0.0);
  captionFade->setEndValue(1.0);
  captions->addAnimation(captionFade);
  fades_.addAnimation(captions);

  connect(qGuiApp, &QGuiApplication::focusWindowChanged, this, [this](QWindow* window) {
    if (window && window == panel_->windowHandle()) {
      focusedSinceShown_ = true;
      waitTimer_.stop();  // back with the wheel: Escape and clicks are its own again
    }
  });
  clock_.start();
  waitTimer_.setInterval(45);
  connect(&waitTimer_, &QTimer::timeout, this, [this] { checkWaiting(); });
  // Only once this showing has had the focus: on X11, Qt reports the
  // application inactive 400 ms after a focus leaves unless a focus comes
  // back, so a wheel hidden and shown again at once would take the late
  // report for the earlier showing as its own whenever its focus is slower.
  connect(qGuiApp, &QGuiApplication::applicationStateChanged, this,
          [this](Qt::ApplicationState state) {
            if (state != Qt::ApplicationActive && hidesOnDeactivate_ && focusedSinceShown_ &&
                panel_->isVisible() && !waitTimer_.isActive())
              startWaiting();
          });
}

WheelController::~WheelController() = default;

RadialMenu* WheelController::wheel() const { return panel_->menu(); }

void WheelController::showWheel(QPointF at, bool tools, bool dragging, std::optional<Files> files) {
  if (busy && busy()) return;
  hideAfterDrag.reset();
  waitTimer_.stop();
  const Files list = files ? std::move(*files) : currentFiles;
  const std::optional<std::filesystem::path> first =
      list.empty() ? std::nullopt : std::optional(list.front());
  showingTools_ = tools;
  RadialMenu* menu = wheel();
  menu->setFiles(list);
  menu->setFile(first);
  menu->setIsTools(tools);
  menu->setActions(tools ? tools_ : WheelAction::formats(first));
  menu->setHovered(std::nullopt);

  std::vector<ScreenFrame> frames;
  std::size_t primary = 0;
  const QList<QScreen*> screens = QGuiApplication::screens();
  for (qsizetype i = 0; i < screens.size(); ++i) {
    const QRect g = screens[i]->geometry();
    frames.push_back({double(g.x()), double(g.y()), double(g.width()), double(g.height())});
    if (screens[i] == QGuiApplication::primaryScreen()) primary = static_cast<std::size_t>(i);
  }
  const DesktopPoint origin = panelOrigin({at.x(), at.y()}, frames, primary, panel_->width(),
                                          panel_->height(), WheelGeometry::margin);
  panel_->move(qRound(origin.x), qRound(origin.y));

  hidesOnDeactivate_ = !dragging;
  focusedSinceShown_ =
      panel_->isVisible() && QGuiApplication::focusWindow() == panel_->windowHandle();
  panel_->setAcceptsFocus(!dragging);
  animateWheelIn();
  panel_->show();
  panel_->raise();
  dragSession_ = dragging;
  if (dragging) {
    nudgePointer();
  } else {
    panel_->activateWindow();
    menu->setFocus(Qt::ActiveWindowFocusReason);
  }
}

void WheelController::animateWheelIn() {
  fades_.stop();
  panel_->setWindowOpacity(fadesWindow_ ? 0 : 1);
  wheel()->setLabelAlpha(0);
  QEasingCurve spring;
  spring.setCustomType(&springCurve);
  panel_->grow()->play(growFrom, growMilliseconds(), spring);
  fades_.start();
}

void WheelController::hideWheel() {
  waitTimer_.stop();
  fades_.stop();
  panel_->grow()->stop();
  panel_->hide();
  panel_->setWindowOpacity(1);
  wheel()->setLabelAlpha(1);
  wheel()->setHovered(std::nullopt);
  hideAfterDrag.reset();
  dragSession_ = false;
}

void WheelController::setToolMode(bool tools) {
  if (tools == showingTools_) return;
  showingTools_ = tools;
  RadialMenu* menu = wheel();
  menu->setIsTools(tools);
  menu->setActions(tools ? tools_ : WheelAction::formats(menu->state().file));
  if (dragSession_) menu->setHovered(menu->wedgeAt(QCursor::pos()));
}

void WheelController::nudgePointer(int attempts) {
  QTimer::singleShot(30, this, [this, attempts] {
    if (!dragSession_ || !panel_->isVisible()) return;
    // The drag source finds the window only once it is on the screen, which
    // the window manager may take a moment to do, and only inside its shape,
    // which without a compositor grows with the wheel.
    const QRegion shape = panel_->mask();
    if (!panel_->windowHandle()->isExposed() ||
        (!shape.isEmpty() && !shape.contains(panel_->mapFromGlobal(QCursor::pos())))) {
      if (attempts > 1) nudgePointer(attempts - 1);
      return;
    }
    const QPoint pointer = QCursor::pos();
    const QScreen* screen = QGuiApplication::screenAt(pointer);
    const int step = screen && pointer.x() <= screen->geometry().left() ? 1 : -1;
    QCursor::setPos(pointer + QPoint(step, 0));
    QTimer::singleShot(30, this, [step] { QCursor::setPos(QCursor::pos() - QPoint(step, 0)); });
  });
}

WheelWait::Readings WheelController::waitReadings() const {
  WheelWait::Readings in;
  in.now = static_cast<double>(clock_.nsecsElapsed()) / 1e9;
  in.dragInside = !wheel()->state().provisionalFiles.empty();
  if (buttonDown) in.buttonDown = buttonDown();
  return in;
}

void WheelController::startWaiting() {
  wait_.start(waitReadings());
  waitTimer_.start();
}

void WheelController::checkWaiting() {
  if (!panel_->isVisible()) {
    waitTimer_.stop();
  } else if (wait_.shouldHide(waitReadings())) {
    hideWheel();
  }
}

}  // namespace Whirlpane
