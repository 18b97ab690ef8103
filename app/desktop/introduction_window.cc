// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/desktop/introduction_window.h"

#include <QFont>
#include <QKeyEvent>
#include <QLabel>
#include <QStringList>
#include <algorithm>

namespace Whirlpane {
namespace {

// The layout as measured for English, from the top left: the heading, the
// paragraphs and the button below them. Longer texts (other languages) make
// the heading and the paragraphs taller, and the window with them.
constexpr int margin = 28;
constexpr int textWidth = 374;
constexpr int headingTop = 27;
constexpr int headingHeight = 34;
constexpr int bodyGap = 13;  // between the heading and the paragraphs
constexpr int bodyHeight = 210;
constexpr int buttonGap = 11;  // between the paragraphs and the button
constexpr int buttonRight = 404;
constexpr QSize buttonSize{128, 30};
constexpr int bottomMargin = 20;  // below the button

}  // namespace

QString IntroductionWindow::text(bool dragWatch, bool window) {
  //: How to bind "whirlpane --show-wheel" to a key on desktops that take no key grabs; the
  //: menu paths are those of GNOME Settings and KDE Plasma's System Settings.
  const QString shortcut =
      tr("To open the wheel with a key of your choice, add a custom shortcut that runs "
         "\u201Cwhirlpane --show-wheel\u201D: in GNOME under Settings \u203A Keyboard \u203A View "
         "and Customize Shortcuts \u203A Custom Shortcuts; in KDE Plasma under System Settings "
         "\u203A Keyboard \u203A Shortcuts \u203A Add New \u203A Command or Script.");
  QString first;
  if (dragWatch) {
    //: The introduction's first paragraph where the wheel comes up during drags (X11).
    first =
        tr("Drag an image or PDF in your file manager and hold still for a moment. A wheel "
           "appears around your pointer. Drop on a format to convert.");
  } else if (window) {
    //: The introduction's first paragraph where no drag can be watched and no tray shows
    //: Whirlpane (GNOME): its own window takes the files.
    first =
        tr("Drag an image or PDF from your file manager onto Whirlpane\u2019s window and drop "
           "it on a format to convert, or on the center to open the wheel for it.");
  } else {
    //: The introduction's first paragraph where no drag can be watched but a tray exists
    //: (Wayland, KDE Plasma); "Show Wheel" is the tray menu's item of that name.
    first =
        tr("Press Ctrl+Alt+Space or choose Show Wheel in the tray menu, and a wheel appears. "
           "Drag an image or PDF from your file manager onto a format to convert.");
  }
  //: Crop and Add BG are the tools wheel's wedges of those names.
  const QString tools =
      dragWatch ? tr("Press Alt while dragging to switch to Crop, Add BG, and the other tools. "
                     "Press it again to switch back.")
      : window
          //: Crop and Add BG are the tools wheel's wedges of those names.
          ? tr("Hold Alt as you drag over the window for Crop, Add BG, and the other tools.")
          //: Crop and Add BG are the tools wheel's wedges of those names.
          : tr("Click the center of the wheel or press Tab to switch to Crop, Add BG, and the "
               "other tools.");
  const QString keys =
      dragWatch
          //: The centre is the middle of the wheel; dragging it moves the wheel.
          ? tr("Click the center to switch wheels; drag it to move. Escape dismisses. "
               "Ctrl+Alt+Space opens or hides the wheel.")
          : shortcut;
  const QString home =
      window ? tr("New files are saved beside the original. Closing Whirlpane\u2019s window ends "
                  "the program.")
             : tr("New files are saved beside the original. Whirlpane lives in the system tray, "
                  "with no window of its own.");
  return QStringList{first, tools, keys, home}.join("\n\n");
}

IntroductionWindow::IntroductionWindow(bool dragWatch, bool window,
                                       std::function<void()> onOpenFile) {
  setObjectName("introduction");
  setWindowTitle("Whirlpane");
  // Without CustomizeWindowHint Qt adds the minimise and maximise buttons of
  // its own accord; a window of fixed size has no use for them.
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowCloseButtonHint);

  //: The introduction's heading, a slogan: everything is done with one drag.
  auto* heading = new QLabel(tr("Your files. One gesture."), this);
  heading->setObjectName("introduction.heading");
  heading->setWordWrap(true);
  heading->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  QFont headingFont = heading->font();
  headingFont.setPixelSize(25);
  headingFont.setWeight(QFont::DemiBold);
  heading->setFont(headingFont);
  const int headingTall = std::max(headingHeight, heading->heightForWidth(textWidth));
  heading->setGeometry(margin, headingTop, textWidth, headingTall);

  auto* body = new QLabel(text(dragWatch, window), this);
  body->setObjectName("introduction.text");
  body->setWordWrap(true);
  body->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  QFont bodyFont = body->font();
  bodyFont.setPixelSize(13);
  body->setFont(bodyFont);
  body->setForegroundRole(QPalette::PlaceholderText);  // the secondary text colour
  const int bodyTall = std::max(bodyHeight, body->heightForWidth(textWidth));
  body->setGeometry(margin, heading->geometry().bottom() + 1 + bodyGap, textWidth, bodyTall);

  //: The introduction's button: opens the file chooser.
  open_ = new QPushButton(tr("Open a File\u2026"), this);
  open_->setObjectName("introduction.open");
  open_->setDefault(true);  // Return presses it
  open_->setAutoDefault(true);
  const int buttonWidth = std::max(buttonSize.width(), open_->sizeHint().width());
  open_->setGeometry(buttonRight - buttonWidth, body->geometry().bottom() + 1 + buttonGap,
                     buttonWidth, buttonSize.height());
  connect(open_, &QPushButton::clicked, this, [onOpenFile = std::move(onOpenFile)] {
    if (onOpenFile) onOpenFile();
  });

  setFixedSize(width, open_->geometry().bottom() + 1 + bottomMargin);
}

void IntroductionWindow::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
    close();
    return;
  }
  QWidget::keyPressEvent(event);
}

}  // namespace Whirlpane
