// SPDX-License-Identifier: GPL-3.0-or-later
// Every window of the desktop program looked at in other languages, on Qt's
// offscreen platform: the tray menu, the introduction, the wheel, each
// editor, the toast, the alert and the file chooser.
//   - In a pseudo-language made here from the catalogue's sources, each text
//     "[" + its English + a third more "~" + "]": a text a person can read
//     that is not marked never went through the translation system.
//   - In it and in each shipped language: no text is cut or clipped by its
//     frame, however much longer than English it is.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDeadlineTimer>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTranslator>
#include <QXmlStreamWriter>
#include <memory>

#include "app/desktop/introduction_window.h"
#include "app/desktop/tray_application.h"
#include "chrome/alerts.h"
#include "chrome/progress_toast.h"
#include "editors/common/editor_text.h"
#include "editors/controls/action_button.h"
#include "editors/controls/ratio_control.h"
#include "editors/editor_coordinator.h"
#include "platform/interface_language.h"
#include "platform/portal/portal_shortcut.h"
#include "tests/support/scoped_environment.h"
#include "tests/support/test_support.h"
#include "tests/translations/catalogue.h"
#include "wheel/radial_menu.h"
#include "wheel/wheel_accessibility.h"
#include "wheel/wheel_controller.h"
#include "wheel/wheel_painter.h"

namespace Whirlpane {
namespace {

namespace fs = std::filesystem;

QString pseudo(const QString& source) {
  return "[" + source + QString((source.size() + 2) / 3, '~') + "]";
}

// The pseudo-language's catalogue, compiled into `folder`; its path, or an
// empty string when lrelease failed.
QString pseudoCatalogue(const QString& folder) {
  const Catalogues::Catalogue sources = Catalogues::read(Catalogues::folder() + "/whirlpane_de.ts");
  QFile file(folder + "/pseudo.ts");
  if (sources.messages.empty() || !file.open(QIODevice::WriteOnly)) return {};
  QXmlStreamWriter xml(&file);
  xml.writeStartDocument();
  xml.writeStartElement("TS");
  xml.writeAttribute("version", "2.1");
  xml.writeAttribute("language", "de");  // two plural forms
  QString context;
  for (const Catalogues::Message& message : sources.messages) {
    if (message.context != context) {
      if (!context.isEmpty()) xml.writeEndElement();
      context = message.context;
      xml.writeStartElement("context");
      xml.writeTextElement("name", context);
    }
    xml.writeStartElement("message");
    if (message.numerus) xml.writeAttribute("numerus", "yes");
    xml.writeTextElement("source", message.source);
    if (!message.comment.isEmpty()) xml.writeTextElement("comment", message.comment);
    if (message.numerus) {
      xml.writeStartElement("translation");
      for (int form = 0; form < 2; ++form)
        xml.writeTextElement("numerusform", pseudo(message.source));
      xml.writeEndElement();
    } else {
      xml.writeTextElement("translation", pseudo(message.source));
    }
    xml.writeEndElement();
  }
  xml.writeEndDocument();
  file.close();
  QProcess lrelease;
  lrelease.start(WHIRLPANE_LRELEASE, {"-silent", file.fileName(), "-qm", folder + "/pseudo.qm"});
  return lrelease.waitForFinished(60000) && lrelease.exitCode() == 0 ? folder + "/pseudo.qm"
                                                                     : QString();
}

// Whether every letter of `text` lies inside a "[...]" mark, leaving out the
// words no catalogue translates: the program's name, format names, the pixel
// unit and the test's file.
bool marked(QString text) {
  for (const char* word : {"Whirlpane", "photo.jpg", "PNG", "WEBP", "HEIC", "TIFF", "AVIF", "BMP",
                           "PDF", "DOCX", "JPG", "TXT", "px"}) {
    text.replace(QLatin1String(word), " ");
  }
  int depth = 0;
  for (const QChar c : text) {
    if (c == '[') {
      ++depth;
    } else if (c == ']') {
      depth = std::max(depth - 1, 0);
    } else if (depth == 0 && c.isLetter()) {
      return false;
    }
  }
  return true;
}

// Whether `text` in `font` fits `width`.
bool fitsLine(const QString& text, const QFont& font, int width) {
  return QFontMetricsF(font).horizontalAdvance(text) <= width;
}

class Looking {
 public:
  explicit Looking(bool requireMarks) : requireMarks_(requireMarks) {}

  // Notes a readable text of `where` that is not marked.
  void text(const QString& where, const QString& shown) {
    if (requireMarks_ && !marked(shown)) faults << where + ": unmarked \u201C" + shown + "\u201D";
  }
  void cut(const QString& where, const QString& shown) {
    faults << where + ": cut \u201C" + shown + "\u201D";
  }

  // Every shown widget of `window` and the window itself, laid out.
  void window(QWidget* window) {
    QCoreApplication::sendPostedEvents();
    if (window->layout()) window->layout()->activate();
    QList<QWidget*> widgets = window->findChildren<QWidget*>();
    widgets.prepend(window);
    for (QWidget* widget : widgets) {
      if (widget != window && !widget->isVisibleTo(window)) continue;
      // The standard buttons are Qt's, translated by Qt's own catalogue.
      if (qobject_cast<QDialogButtonBox*>(widget->parentWidget())) continue;
      const QString where = window->objectName() + "/" + widget->objectName() + " (" +
                            widget->metaObject()->className() + ")";
      text(where, widget->accessibleName());
      text(where, widget->accessibleDescription());
      text(where, widget->toolTip());
      if (widget->isWindow()) text(where, widget->windowTitle());
      if (auto* label = qobject_cast<QLabel*>(widget)) this->label(where, label);
      if (auto* button = qobject_cast<QAbstractButton*>(widget)) this->button(where, button);
      if (auto* ratio = qobject_cast<RatioControl*>(widget)) {
        for (const QString& segment : ratio->labels()) text(where, segment);
        if (!ratio->labelsFit()) cut(where, ratio->labels().join(", "));
      }
      if (auto* field = qobject_cast<QLineEdit*>(widget)) {
        text(where, field->placeholderText());
        if (!fitsLine(field->placeholderText(), field->font(), field->width() - 12))
          cut(where, field->placeholderText());
      }
    }
  }

  void label(const QString& where, QLabel* label) {
    text(where, label->text());
    const QRect box = label->contentsRect();
    bool fits = true;
    if (auto* editorLabel = qobject_cast<EditorLabel*>(label)) {
      fits = !editorLabel->isCut();
    } else if (label->wordWrap()) {
      fits = label->heightForWidth(label->width()) <= label->height();  // margins included
    } else if (!label->text().isEmpty()) {
      fits = fitsLine(label->text(), label->font(), box.width()) &&
             QFontMetrics(label->font()).height() <= box.height();
    }
    if (!fits) cut(where, label->text());
  }

  void button(const QString& where, QAbstractButton* button) {
    text(where, button->text());
    const bool fits = qobject_cast<QPushButton*>(button)
                          ? button->sizeHint().width() <= button->width()
                          : fitsLine(button->text(), button->font(), button->width() - 8);
    if (!fits) cut(where, button->text());
  }

  QStringList faults;

 private:
  bool requireMarks_;
};

// The program as a user meets it, with its settings in a folder of its own.
class Languages : public ::testing::Test {
 protected:
  void TearDown() override {
    for (QTranslator* translator : qApp->findChildren<QTranslator*>()) {
      QCoreApplication::removeTranslator(translator);
      delete translator;
    }
    for (QWidget* widget : QApplication::topLevelWidgets()) {
      if (qobject_cast<QMessageBox*>(widget) || qobject_cast<QFileDialog*>(widget)) delete widget;
    }
  }

  // Every window in the language installed now.
  QStringList lookAtEverything(bool requireMarks) {
    Looking look(requireMarks);
    TrayApplication tray(WHIRLPANE_BINARY);
    tray.launch(parseLaunchOptions({"whirlpane", "--test-mode"}));

    look.text("tray icon", tray.tray().toolTip());
    const std::unique_ptr<QMenu> menu = tray.buildStatusMenu();
    for (QAction* action : menu->actions()) {
      look.text("tray menu", action->text());
      look.text("tray menu", action->toolTip());
    }
    look.text("portal shortcut", PortalShortcut::description());

    for (const bool dragWatch : {true, false}) {
      IntroductionWindow introduction(dragWatch, {});
      look.window(&introduction);
    }

    wheel(look, tray.wheel());

    EditorCoordinator editors([&](const QString& message) { look.text("editor report", message); });
    for (const std::string& key : editors.editorKeys()) {
      look.window(editors.makeOffscreenWindow(key, photo));
    }
    editors.open("no such editor", photo, {}, {});
    // Compress while it saves: the status line reads "Saving…".
    QWidget* saving = editors.makeOffscreenWindow("compress", photo);
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(saving, &enter);
    look.window(saving);
    for (QDeadlineTimer deadline(30000); !deadline.hasExpired();) {
      const EditorFrame* editor = editors.editorOf(saving);
      if (!editor || editor->saveButton()->isEnabled()) break;
      QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    }

    ProgressToast toast(TrayApplication::progressTitle("PNG"), 5, {400, 300});
    toast.update(2, 5);
    look.window(toast.panel());

    QMessageBox* alert = showErrorAlert(pseudo("The file is damaged."));
    look.window(alert);
    delete alert;

    tray.chooseFile();
    for (QWidget* widget : QApplication::topLevelWidgets()) {
      if (auto* chooser = qobject_cast<QFileDialog*>(widget)) {
        look.text("file chooser", chooser->windowTitle());
        // The label before the list of extensions.
        look.text("file chooser", chooser->nameFilters().value(0).section(" (", 0, 0));
        delete chooser;
      }
    }
    return look.faults;
  }

  // The tools wheel's wedges and the centre's captions: translated, and
  // each fitting its place.
  static void wheel(Looking& look, WheelController& controller) {
    RadialMenu* menu = controller.wheel();
    look.text("wheel", menu->accessibleName());
    controller.showWheel({400, 300}, true, false, std::vector<fs::path>{});
    const int count = static_cast<int>(menu->actions().size());
    for (const WheelAccessibilityElement* wedge : menu->actionElements()) {
      look.text("tools wheel", wedge->label());
      const auto caption = WheelPainter::fitWedgeCaption(wedge->label(), true, count, menu);
      if (caption.measured.width() > WheelPainter::wedgeCaptionWidth(count))
        look.cut("tools wheel", wedge->label());
    }
    WheelState state = menu->state();
    const auto centre = [&](const char* what) {
      const QString text = WheelPainter::centerText(state);
      look.text(what, text);
      if (WheelPainter::fitCenterCaption(text, state, menu).measured.width() >
          WheelPainter::centerCaptionWidth)
        look.cut(what, text);
    };
    centre("tools wheel centre");
    state.hovered = 4;
    centre("tools wheel centre, hovered");
    state = {};
    centre("formats wheel centre");
    state.files = {"/a.jpg", "/b.jpg", "/c.jpg"};
    centre("formats wheel centre, three files");
    controller.hideWheel();
  }

  QTemporaryDir config;
  ScopedEnvironment configHome{"XDG_CONFIG_HOME", config.path().toUtf8()};
  ScopedEnvironment noDisplay{"DISPLAY", std::nullopt};
  TestSupport::ScratchFolder folder;
  fs::path photo = [this] {
    TestSupport::saveImage(TestSupport::testPicture(60, 40), folder / "photo.jpg");
    return folder / "photo.jpg";
  }();
};

TEST_F(Languages, InThePseudoLanguageEveryTextIsTranslatedAndFits) {
  QTemporaryDir scratch;
  const QString catalogue = pseudoCatalogue(scratch.path());
  ASSERT_FALSE(catalogue.isEmpty()) << "lrelease made no catalogue";
  ScopedEnvironment chosen{"WHIRLPANE_TRANSLATION", catalogue.toUtf8()};
  // The tests' catalogue wins over the user's languages, English included.
  ASSERT_EQ(installInterfaceLanguage(WHIRLPANE_TRANSLATIONS, {"en-US"}), "de");
  ASSERT_EQ(TrayApplication::progressTitle("PNG"), pseudo("Converting to %1").arg("PNG"));
  const QStringList faults = lookAtEverything(true);
  EXPECT_TRUE(faults.isEmpty()) << faults.join('\n').toStdString();
}

TEST_F(Languages, InEachShippedLanguageEveryTextFits) {
  for (const QString& language : Catalogues::languages()) {
    SCOPED_TRACE(language.toStdString());
    ASSERT_EQ(installInterfaceLanguage(WHIRLPANE_TRANSLATIONS, {language}), language);
    const QStringList faults = lookAtEverything(false);
    EXPECT_TRUE(faults.isEmpty()) << faults.join('\n').toStdString();
    TearDown();
  }
}

// The checks themselves: an English text among marked ones is found, and so
// is a label too narrow for its text.
TEST_F(Languages, AnUnmarkedOrACutTextIsFound) {
  EXPECT_TRUE(marked(pseudo("Open a File\u2026")));
  EXPECT_TRUE(marked("\u21bb  " + pseudo("Rotate 90\u00b0")));
  EXPECT_TRUE(marked("24 px"));
  EXPECT_FALSE(marked("Open a File\u2026"));
  EXPECT_FALSE(marked(pseudo("Close") + " Crop Image"));
  QWidget window;
  window.setObjectName("window");
  auto* label = new QLabel(pseudo("Aspect ratio"), &window);
  label->setGeometry(0, 0, 20, 15);
  auto* editorLabel = new EditorLabel(QRectF(0, 20, 30, 15), label->font(), Qt::black, &window);
  editorLabel->setText(pseudo("Background"));
  Looking look(true);
  look.window(&window);
  EXPECT_EQ(look.faults.size(), 2) << look.faults.join('\n').toStdString();
}

}  // namespace
}  // namespace Whirlpane
