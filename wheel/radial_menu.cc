// SPDX-License-Identifier: GPL-3.0-or-later
#include "wheel/radial_menu.h"

#include <QAccessible>
#include <QDragEnterEvent>
#include <QFile>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>
#include <QUrl>
#include <system_error>

#include "wheel/view_coordinates.h"
#include "wheel/wheel_accessibility.h"
#include "wheel/wheel_painter.h"
#include "whirlpane/metadata.h"

namespace Whirlpane {

RadialMenu::RadialMenu(QWidget* parent) : QWidget(parent) {
  installWheelAccessibility();
  resize(static_cast<int>(WheelGeometry::panelSize), static_cast<int>(WheelGeometry::panelSize));
  setMouseTracking(true);
  setAcceptDrops(true);
  setFocusPolicy(Qt::StrongFocus);
  //: The wheel's name for screen readers: a round menu whose wedges are buttons.
  setAccessibleName(tr("Whirlpane radial menu"));
}

WheelGeometry RadialMenu::wheelGeometry() const {
  return WheelGeometry(static_cast<int>(state_.actions.size()), width(), height());
}

WheelPoint RadialMenu::wheelPoint(QPointF widgetPoint) const {
  return ViewCoordinates(height()).fromQt(widgetPoint);
}

void RadialMenu::setActions(std::vector<WheelAction> actions) {
  state_.actions = std::move(actions);
  state_.hovered.reset();
  rebuildElements();
  update();
}

void RadialMenu::setFile(std::optional<std::filesystem::path> file) {
  state_.file = std::move(file);
  filesChanged();
}

void RadialMenu::setFiles(Files files) {
  state_.files = std::move(files);
  filesChanged();
}

void RadialMenu::setProvisionalFiles(Files files) {
  state_.provisionalFiles = std::move(files);
  filesChanged();
}

void RadialMenu::filesChanged() {
  state_.sizeText.reset();
  if (const auto one = state_.labelledFile()) {
    std::error_code error;
    const auto size = std::filesystem::file_size(*one, error);
    if (!error) state_.sizeText = MediaEngine::byteCount(static_cast<long long>(size));
  }
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

std::optional<int> RadialMenu::wedgeAt(QPointF desktopPoint) const {
  return wheelGeometry().index(wheelPoint(mapFromGlobal(desktopPoint)));
}

void RadialMenu::setInvitesDrop(bool invites) {
  state_.invitesDrop = invites;
  update();
}

void RadialMenu::execute(int index, const Files& files) {
  if (index < 0 || index >= static_cast<int>(state_.actions.size())) return;
  if (files.empty()) {
    if (onActionWithoutFiles) onActionWithoutFiles(state_.actions[index]);
  } else if (onAction) {
    onAction(state_.actions[index], files);
  }
}

RadialMenu::Files RadialMenu::droppedFiles(const QMimeData* data) {
  Files files;
  if (!data) return files;
  for (const QUrl& uri : data->urls()) {
    if (uri.isLocalFile()) files.emplace_back(QFile::encodeName(uri.toLocalFile()).toStdString());
  }
  return droppableFiles(std::move(files));
}

void RadialMenu::rebuildElements() {
  for (WheelAccessibilityElement* element : elements_) {
    QAccessibleEvent gone(element, QAccessible::ObjectDestroyed);
    QAccessible::updateAccessibility(&gone);
    delete element;
  }
  elements_.clear();
  for (int i = 0; i < static_cast<int>(state_.actions.size()); ++i) {
    elements_.push_back(new WheelAccessibilityElement(this, i, state_.actions[i]));
    QAccessibleEvent made(elements_.back(), QAccessible::ObjectCreated);
    QAccessible::updateAccessibility(&made);
  }
}

void RadialMenu::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  WheelPainter::paint(painter, size(), state_);
}

void RadialMenu::mousePressEvent(QMouseEvent* event) {
  const WheelGeometry geometry = wheelGeometry();
  const WheelPoint point = wheelPoint(event->position());
  if (!geometry.claims(point)) {
    event->ignore();
    return;
  }
  if (event->button() == Qt::RightButton) {
    if (onToggle) onToggle();
  } else if (event->button() == Qt::LeftButton) {
    if (geometry.isCenter(point)) {
      const QPointF pointer = event->globalPosition();
      const QPoint origin = window()->pos();
      centerPress_.press({pointer.x(), pointer.y()}, {double(origin.x()), double(origin.y())});
    } else if (const auto index = geometry.index(point)) {
      execute(*index, state_.files);
    } else if (onDismiss) {
      onDismiss();
    }
  }
}

void RadialMenu::mouseMoveEvent(QMouseEvent* event) {
  if (event->buttons() == Qt::NoButton) {
    setHovered(wheelGeometry().index(wheelPoint(event->position())));
    return;
  }
  const QPointF pointer = event->globalPosition();
  if (const auto origin = centerPress_.drag({pointer.x(), pointer.y()}))
    window()->move(qRound(origin->x), qRound(origin->y));
}

void RadialMenu::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && centerPress_.release() && onToggle) onToggle();
}

void RadialMenu::leaveEvent(QEvent*) { setHovered(std::nullopt); }

void RadialMenu::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Escape:
      if (onDismiss) onDismiss();
      return;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Space:
      if (onToggle) onToggle();
      return;
    default:
      break;
  }
  const auto index =
      typedWedge(event->text().toStdString(), static_cast<int>(state_.actions.size()));
  if (!index) {
    QWidget::keyPressEvent(event);
    return;
  }
  execute(*index, state_.files);
}

bool RadialMenu::focusNextPrevChild(bool) { return false; }

void RadialMenu::updateDrag(QDragMoveEvent* event) {
  Files files = droppedFiles(event->mimeData());
  if (files.empty()) {
    event->ignore();
    return;
  }
  if (files != state_.provisionalFiles) {
    if (auto offered = wedgesForDrag(files, state_.isTools, state_.actions))
      setActions(std::move(*offered));
    setProvisionalFiles(std::move(files));
  }
  setHovered(wheelGeometry().index(wheelPoint(event->position())));
  if (state_.hovered) {
    event->setDropAction(Qt::CopyAction);
    event->accept();
  } else {
    event->ignore();
  }
}

void RadialMenu::dragEnterEvent(QDragEnterEvent* event) {
  updateDrag(event);
  // Qt sends the moves of a drag only to the widget that accepted its entry:
  // a drag of files that enters over the centre (as it does when the wheel
  // comes up under a resting pointer) must still be followed. Its moves
  // answer for each point.
  if (!state_.provisionalFiles.empty()) event->accept();
}

void RadialMenu::dragMoveEvent(QDragMoveEvent* event) { updateDrag(event); }

void RadialMenu::dragLeaveEvent(QDragLeaveEvent*) {
  setProvisionalFiles({});
  setHovered(std::nullopt);
}

void RadialMenu::dropEvent(QDropEvent* event) {
  const auto index = wheelGeometry().index(wheelPoint(event->position()));
  Files files = droppedFiles(event->mimeData());
  if (index && !files.empty()) {
    // The source finishes its drag before the work starts.
    QTimer::singleShot(0, this, [this, action = state_.actions[*index], files = std::move(files)] {
      if (onAction) onAction(action, files);
    });
    event->setDropAction(Qt::CopyAction);
    event->accept();
  } else {
    event->ignore();
  }
  setProvisionalFiles({});
  setHovered(std::nullopt);
}

}  // namespace Whirlpane
