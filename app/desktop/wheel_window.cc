// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/desktop/wheel_window.h"

#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QDragEnterEvent>
#include <QIcon>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>
#include <QToolButton>

#include "app/desktop/launch_options.h"
#include "wheel/view_coordinates.h"

namespace Whirlpane {

namespace {

constexpr int wheelSide = static_cast<int>(WheelGeometry::panelSize);
constexpr int inset = (WheelWindow::side - wheelSide) / 2;

}  // namespace

WindowDrop::Files WindowDrop::accepted(const Files& dragged) { return supportedOnly(dragged); }

std::vector<WheelAction> WindowDrop::wedges(const Files& files, bool tools,
                                            const std::vector<WheelAction>& toolWedges) {
  if (tools) return toolWedges;
  return WheelAction::formats(files.empty() ? std::nullopt : std::optional(files.front()));
}

WindowDrop::Landing WindowDrop::landing(const WheelGeometry& geometry, WheelPoint point) {
  if (const auto index = geometry.index(point)) return {Target::wedge, *index};
  if (geometry.isCenter(point)) return {Target::centre, -1};
  return {};
}

void WindowWheel::rest() {
  setInvitesDrop(true);
  setIsTools(toolsAtRest);
  setProvisionalFiles({});
  setFiles({});
  setFile(std::nullopt);
  setActions(WindowDrop::wedges({}, toolsAtRest, toolWedges));
}

WheelPoint WindowWheel::pointOf(QPointF widgetPoint) const {
  return ViewCoordinates(height()).fromQt(widgetPoint);
}

void WindowWheel::mousePressEvent(QMouseEvent* event) {
  const WheelGeometry geometry = wheelGeometry();
  const WheelPoint point = pointOf(event->position());
  // A right click reaches the window as its context menu.
  if (event->button() != Qt::LeftButton || !geometry.claims(point)) {
    event->ignore();
    return;
  }
  if (geometry.isCenter(point)) {
    if (onCenterClick) onCenterClick();
  } else if (const auto index = geometry.index(point)) {
    execute(*index, files());
  }
}

void WindowWheel::mouseMoveEvent(QMouseEvent* event) {
  // The window moves by its title bar; the disc only follows the pointer.
  if (event->buttons() == Qt::NoButton)
    setHovered(wheelGeometry().index(pointOf(event->position())));
}

void WindowWheel::mouseReleaseEvent(QMouseEvent*) {}

void WindowWheel::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Space:
      toolsAtRest = !toolsAtRest;
      rest();
      return;
    case Qt::Key_Escape:
      event->ignore();  // nothing to dismiss: the window stays
      return;
    default:
      RadialMenu::keyPressEvent(event);
  }
}

void WindowWheel::follow(QDragMoveEvent* event) {
  const Files files = WindowDrop::accepted(droppedFiles(event->mimeData()));
  if (files.empty()) {
    event->ignore();
    return;
  }
  const bool tools = event->modifiers().testFlag(Qt::AltModifier);
  if (files != state().provisionalFiles || tools != dragTools_ || state().invitesDrop) {
    dragTools_ = tools;
    setInvitesDrop(false);
    setIsTools(tools);
    std::vector<WheelAction> offered = WindowDrop::wedges(files, tools, toolWedges);
    if (offered != actions()) setActions(std::move(offered));
    setProvisionalFiles(files);
  }
  const WindowDrop::Landing landing =
      WindowDrop::landing(wheelGeometry(), pointOf(event->position()));
  setHovered(landing.target == WindowDrop::Target::wedge ? std::optional(landing.wedge)
                                                         : std::nullopt);
  // Accepted everywhere over the window, so that its moves keep coming; a
  // drop that lands nowhere is refused then.
  event->setDropAction(Qt::CopyAction);
  event->accept();
}

void WindowWheel::dragEnterEvent(QDragEnterEvent* event) { follow(event); }

void WindowWheel::dragMoveEvent(QDragMoveEvent* event) { follow(event); }

void WindowWheel::dragLeaveEvent(QDragLeaveEvent*) { rest(); }

void WindowWheel::dropEvent(QDropEvent* event) {
  const Files files = WindowDrop::accepted(droppedFiles(event->mimeData()));
  const WindowDrop::Landing landing =
      WindowDrop::landing(wheelGeometry(), pointOf(event->position()));
  const bool tools = dragTools_;
  if (files.empty() || landing.target == WindowDrop::Target::nowhere) {
    event->ignore();
    rest();
    return;
  }
  event->setDropAction(Qt::CopyAction);
  event->accept();
  // The source finishes its drag before the work starts.
  if (landing.target == WindowDrop::Target::wedge) {
    QTimer::singleShot(0, this, [this, action = actions()[landing.wedge], files] {
      if (onAction) onAction(action, files);
    });
  } else {
    QTimer::singleShot(0, this, [this, files, tools] {
      if (onOpenWheel) onOpenWheel(files, tools);
    });
  }
  rest();
}

WheelWindow::WheelWindow(std::vector<WheelAction> tools) {
  setObjectName("wheel-window");
  setWindowTitle("Whirlpane");
  setWindowIcon(QIcon(":/icons/whirlpane.svg"));
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowCloseButtonHint | Qt::WindowMinimizeButtonHint);
  setFixedSize(side, side);

  wheel_ = new WindowWheel(this);
  wheel_->setObjectName("wheel-window.wheel");
  wheel_->setGeometry(inset, inset, wheelSide, wheelSide);
  wheel_->toolWedges = std::move(tools);
  wheel_->rest();

  menuButton_ = new QToolButton(this);
  menuButton_->setObjectName("wheel-window.menu");
  menuButton_->setIcon(
      QIcon::fromTheme("open-menu-symbolic", QIcon::fromTheme("application-menu")));
  if (menuButton_->icon().isNull()) menuButton_->setText("\u2630");
  //: The button of Whirlpane's window that opens its menu (the tray menu's items).
  menuButton_->setToolTip(tr("Menu"));
  menuButton_->setAccessibleName(tr("Menu"));
  menuButton_->setAutoRaise(true);
  menuButton_->setGeometry(side - 36, 8, 28, 28);
  connect(menuButton_, &QToolButton::clicked, this, [this] {
    if (wheel_->onMenu) wheel_->onMenu(menuButton_->mapToGlobal(QPoint(0, menuButton_->height())));
  });
  wheel_->setFocus();
}

void WheelWindow::present() {
  if (isMinimized()) setWindowState(windowState() & ~Qt::WindowMinimized);
  show();
  raise();
  activateWindow();
  wheel_->setFocus(Qt::ActiveWindowFocusReason);
}

void WheelWindow::paintEvent(QPaintEvent*) {
  // The wheel's opaque backing, as the floating wheel has it without a
  // compositor.
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(QPen(QColor::fromRgbF(0, 0, 0, 0.12f), 1));
  painter.setBrush(QColor::fromRgbF(0.93f, 0.93f, 0.945f, 1));
  const QPointF c(side / 2.0, side / 2.0);
  painter.drawEllipse(c, WheelGeometry::radius + 0.5, WheelGeometry::radius + 0.5);
}

void WheelWindow::closeEvent(QCloseEvent* event) {
  QWidget::closeEvent(event);
  if (onClose) onClose();
}

void WheelWindow::contextMenuEvent(QContextMenuEvent* event) {
  if (wheel_->onMenu) wheel_->onMenu(event->globalPos());
}

}  // namespace Whirlpane
