// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/desktop/introduction_window.h"

#include <QFont>
#include <QLabel>

namespace Whirlpane {
namespace {

// Positions given from the bottom-left corner, as the layout is measured,
// turned into Qt's top-left geometry.
QRect fromBottom(int x, int y, int w, int h) {
  return {x, IntroductionWindow::height - y - h, w, h};
}

}  // namespace

QString IntroductionWindow::text(bool dragWatch) {
  const QString first =
      dragWatch ? QStringLiteral(
                      "Drag an image or PDF in your file manager and hold still for a "
                      "moment. A wheel appears around your pointer. Drop on a format to "
                      "convert.")
                : QStringLiteral(
                      "Press Ctrl+Alt+Space or choose Show Wheel in the tray menu, and a "
                      "wheel appears around your pointer. Drag an image or PDF from your "
                      "file manager onto a format to convert.");
  return first + QStringLiteral(
                     "\n\nPress Alt while dragging to switch to Crop, Add BG, and the other "
                     "tools. Press it again to switch back.\n\nClick the center to switch "
                     "wheels; drag it to move. Escape dismisses. Ctrl+Alt+Space opens or hides "
                     "the wheel.\n\nNew files are saved beside the original. Whirlpane lives "
                     "in the system tray, with no window of its own.");
}

IntroductionWindow::IntroductionWindow(bool dragWatch, std::function<void()> onOpenFile) {
  setObjectName("introduction");
  setWindowTitle("Whirlpane");
  setFixedSize(width, height);
  setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);

  auto* heading = new QLabel("Your files. One gesture.", this);
  QFont headingFont = heading->font();
  headingFont.setPixelSize(25);
  headingFont.setWeight(QFont::DemiBold);
  heading->setFont(headingFont);
  heading->setGeometry(fromBottom(28, 284, 374, 34));

  auto* body = new QLabel(text(dragWatch), this);
  body->setObjectName("introduction.text");
  body->setWordWrap(true);
  body->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  QFont bodyFont = body->font();
  bodyFont.setPixelSize(13);
  body->setFont(bodyFont);
  body->setForegroundRole(QPalette::PlaceholderText);  // the secondary text colour
  body->setGeometry(fromBottom(28, 61, 374, 210));

  open_ = new QPushButton("Open a File…", this);
  open_->setObjectName("introduction.open");
  open_->setDefault(true);  // Return presses it
  open_->setAutoDefault(true);
  open_->setGeometry(fromBottom(276, 20, 128, 30));
  connect(open_, &QPushButton::clicked, this, [onOpenFile = std::move(onOpenFile)] {
    if (onOpenFile) onOpenFile();
  });
}

}  // namespace Whirlpane
