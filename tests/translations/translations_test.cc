// SPDX-License-Identifier: GPL-3.0-or-later
// The program in other languages: each shipped catalogue translates every
// text of the code (as lupdate, bringing a copy up to date, finds: nothing
// unfinished, nothing vanished) with every placeholder of its source; and
// every window on Qt's offscreen platform, in a pseudo-language made from the
// sources ("[" + the English + a third more "~" + "]", so that a readable text
// outside the marks never went through the translation system) and in each
// shipped language, shows no text cut or clipped by its frame.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDeadlineTimer>
#include <QDialogButtonBox>
#include <QDir>
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
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QTranslator>
#include <QXmlStreamReader>
#include <memory>

#include "app/desktop/introduction_window.h"
#include "app/desktop/tray_application.h"
#include "app/desktop/wheel_window.h"
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
#include "wheel/radial_menu.h"
#include "wheel/wheel_accessibility.h"
#include "wheel/wheel_controller.h"
#include "wheel/wheel_painter.h"

namespace Whirlpane {
namespace {

struct Message {
  QString context;
  QString source;
  QString comment;       // the disambiguation, if any
  QString state;         // "unfinished", "vanished", "obsolete", or empty when finished
  bool numerus = false;  // one translation per plural form
  QStringList translations;
};

using Catalogue = std::vector<Message>;

// The placeholders QString::arg() and tr()'s plural count fill in.
QSet<QString> placeholders(const QString& text) {
  static const QRegularExpression pattern("%L?(\\d{1,2}|n)");
  QSet<QString> found;
  for (const QRegularExpressionMatch& match : pattern.globalMatch(text)) {
    found.insert("%" + match.captured(1));
  }
  return found;
}

QStringList split(const char* list) {
  return QString::fromUtf8(list).split(',', Qt::SkipEmptyParts);
}

// The catalogue in the .ts file at `path`; no messages when it cannot be read.
Catalogue read(const QString& path) {
  Catalogue catalogue;
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return catalogue;
  QXmlStreamReader xml(&file);
  QString context;
  Message message;
  while (!xml.atEnd()) {
    xml.readNext();
    if (xml.isEndElement() && xml.name() == QLatin1String("message")) {
      catalogue.push_back(message);
    }
    if (!xml.isStartElement()) continue;
    const QString name = xml.name().toString();
    const QXmlStreamAttributes attributes = xml.attributes();
    if (name == "name") {
      context = xml.readElementText();
    } else if (name == "message") {
      message =
          Message{context, {}, {}, {}, attributes.value("numerus") == QLatin1String("yes"), {}};
    } else if (name == "source") {
      message.source = xml.readElementText();
    } else if (name == "comment") {
      message.comment = xml.readElementText();
    } else if (name == "translation") {
      message.state = attributes.value("type").toString();
      if (!message.numerus) message.translations << xml.readElementText();
    } else if (name == "numerusform") {
      message.translations << xml.readElementText();
    }
  }
  return catalogue;
}

// What keeps `catalogue` from shipping, one line per fault: a message not
// translated or empty, no longer in the code (vanished, obsolete), or whose
// translation drops a placeholder of its source (%1 ... %99, %n) or brings
// one the source lacks.
QStringList faults(const Catalogue& catalogue) {
  QStringList found;
  for (const Message& message : catalogue) {
    const QString where = message.context + ": \u201C" + message.source + "\u201D";
    if (!message.state.isEmpty()) found << where + " is " + message.state;
    if (message.translations.isEmpty()) found << where + " has no translation";
    const QSet<QString> wanted = placeholders(message.source);
    for (const QString& translation : message.translations) {
      if (translation.isEmpty()) {
        found << where + " has an empty translation";
        continue;
      }
      const QSet<QString> given = placeholders(translation);
      for (const QString& lost : wanted - given) found << where + " drops " + lost;
      for (const QString& extra : given - wanted) found << where + " adds " + extra;
    }
  }
  return found;
}

// The folder of the catalogues, the shipped languages and the folders of the
// code they translate, as the build names them.
QString cataloguesFolder() { return QString::fromUtf8(WHIRLPANE_SOURCE_DIR "/translations"); }

QStringList languages() { return split(WHIRLPANE_LANGUAGES); }

QStringList translatedFolders() { return split(WHIRLPANE_TRANSLATED_FOLDERS); }

QString shipped(const QString& language) {
  return cataloguesFolder() + "/whirlpane_" + language + ".ts";
}

QByteArray contents(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool write(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

// Brings `catalogues` up to date with the code as the build's
// update_translations does, keeping what the code no longer has.
void updateFromCode(const QStringList& catalogues) {
  QProcess lupdate;
  lupdate.start(WHIRLPANE_LUPDATE,
                QStringList{"-silent", "-locations", "none", "-I", WHIRLPANE_SOURCE_DIR} +
                    translatedFolders() + QStringList{"-ts"} + catalogues);
  ASSERT_TRUE(lupdate.waitForFinished(120000));
  ASSERT_EQ(lupdate.exitCode(), 0) << lupdate.readAllStandardError().toStdString();
}

std::string lines(const QStringList& list) { return list.join('\n').toStdString(); }

TEST(Catalogues, EachShippedLanguageTranslatesEveryTextOfTheCodeAndNothingElse) {
  QStringList inFolder;
  for (const QString& name : QDir(cataloguesFolder()).entryList({"whirlpane_*.ts"}, QDir::Files)) {
    inFolder << name.mid(10, name.size() - 13);
  }
  QStringList built = languages();
  inFolder.sort();
  built.sort();
  EXPECT_EQ(inFolder.join(' ').toStdString(), built.join(' ').toStdString())
      << "a catalogue that the build does not compile, or a language without one";

  QTemporaryDir scratch;
  QStringList copies;
  for (const QString& language : languages()) {
    copies << scratch.filePath(QFileInfo(shipped(language)).fileName());
    ASSERT_TRUE(QFile::copy(shipped(language), copies.back()));
  }
  updateFromCode(copies);
  for (int i = 0; i < copies.size(); ++i) {
    SCOPED_TRACE(languages()[i].toStdString());
    const Catalogue current = read(copies[i]);
    EXPECT_GT(current.size(), 100u) << "the catalogue was read";
    EXPECT_TRUE(faults(current).isEmpty()) << lines(faults(current));
    EXPECT_EQ(current.size(), read(shipped(languages()[i])).size());
  }
}

TEST(Catalogues, ATextNewToTheCodeOrGoneFromItIsFound) {
  QTemporaryDir scratch;
  const QString copy = scratch.filePath("whirlpane_de.ts");
  const QByteArray german = contents(shipped("de"));
  // The catalogue lacks a text of the code, and has one the code lacks.
  const QByteArray message = "<message>\n        <source>Show Wheel</source>";
  const int at = german.indexOf(message);
  ASSERT_GE(at, 0);
  const int end = german.indexOf("</message>", at) + int(sizeof("</message>") - 1);
  QByteArray changed = german;
  changed.replace(at, end - at,
                  "<message>\n        <source>Show the Old Wheel</source>\n"
                  "        <translation>Altes Rad anzeigen</translation>\n    </message>");
  ASSERT_TRUE(write(copy, changed));
  EXPECT_TRUE(faults(read(copy)).isEmpty()) << "a translated catalogue, as it stands";
  updateFromCode({copy});
  const QStringList found = faults(read(copy));
  EXPECT_TRUE(found.contains("Whirlpane::TrayApplication: \u201CShow Wheel\u201D is unfinished"))
      << lines(found);
  EXPECT_TRUE(
      found.contains("Whirlpane::TrayApplication: \u201CShow the Old Wheel\u201D is vanished"))
      << lines(found);
}

TEST(Catalogues, ATranslationThatDropsOrAddsAPlaceholderOrIsNotFinishedFails) {
  const QByteArray german = contents(shipped("de"));
  EXPECT_TRUE(faults(read(shipped("de"))).isEmpty()) << lines(faults(read(shipped("de"))));
  const struct {
    const char* find;
    const char* replace;
    const char* fault;
  } cases[] = {
      {"<translation>Umwandlung in %1</translation>",
       "<translation>Umwandlung in PNG</translation>", "\u201CConverting to %1\u201D drops %1"},
      {"<numerusform>%n Dateien</numerusform>", "<numerusform>viele Dateien</numerusform>",
       "\u201C%n files\u201D drops %n"},
      {"<translation>Whirlpane beenden</translation>",
       "<translation>Whirlpane %2 beenden</translation>", "\u201CQuit Whirlpane\u201D adds %2"},
      {"<translation>Rad anzeigen</translation>",
       "<translation type=\"unfinished\">Rad anzeigen</translation>",
       "\u201CShow Wheel\u201D is unfinished"},
      {"<translation>Rad anzeigen</translation>",
       "<translation type=\"obsolete\">Rad anzeigen</translation>",
       "\u201CShow Wheel\u201D is obsolete"},
      {"<translation>Rad anzeigen</translation>", "<translation></translation>",
       "\u201CShow Wheel\u201D has an empty translation"},
  };
  QTemporaryDir scratch;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.replace);
    QByteArray changed = german;
    ASSERT_GE(changed.indexOf(c.find), 0);
    changed.replace(c.find, c.replace);
    const QString copy = scratch.filePath("whirlpane_de.ts");
    ASSERT_TRUE(write(copy, changed));
    const QStringList found = faults(read(copy));
    ASSERT_EQ(found.size(), 1) << lines(found);
    EXPECT_TRUE(found.front().endsWith(QString::fromUtf8(c.fault))) << lines(found);
  }
}

namespace fs = std::filesystem;

QString pseudo(const QString& source) {
  return "[" + source + QString((source.size() + 2) / 3, '~') + "]";
}

// The pseudo-language's catalogue, compiled into the folder `into`: the German one
// with each translation (each plural form) its source, marked. Its path, or
// an empty string when lrelease failed.
QString pseudoCatalogue(const QString& into) {
  QString text = QString::fromUtf8(contents(shipped("de")));
  static const QRegularExpression message("<source>(.*?)</source>.*?</message>",
                                          QRegularExpression::DotMatchesEverythingOption);
  static const QRegularExpression form("(<translation>|<numerusform>)[^<\\s][^<]*");
  for (qsizetype at = 0;;) {
    const QRegularExpressionMatch found = message.match(text, at);
    if (!found.hasMatch()) break;
    QString replaced = found.captured(0);
    replaced.replace(form, "\\1" + pseudo(found.captured(1)));
    text.replace(found.capturedStart(), found.capturedLength(), replaced);
    at = found.capturedStart() + replaced.size();
  }
  if (!write(into + "/pseudo.ts", text.toUtf8())) return {};
  QProcess lrelease;
  lrelease.start(WHIRLPANE_LRELEASE, {"-silent", into + "/pseudo.ts", "-qm", into + "/pseudo.qm"});
  return lrelease.waitForFinished(60000) && lrelease.exitCode() == 0 ? into + "/pseudo.qm"
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

    for (const auto& [dragWatch, window] :
         {std::pair{true, false}, {false, false}, {false, true}}) {
      IntroductionWindow introduction(dragWatch, window, {});
      look.window(&introduction);
    }
    tray.showWindow();
    look.window(tray.window());

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
  ASSERT_EQ(installInterfaceLanguage(WHIRLPANE_TRANSLATIONS, {"en-US"}), "de_DE");
  ASSERT_EQ(TrayApplication::progressTitle("PNG"), pseudo("Converting to %1").arg("PNG"));
  const QStringList faults = lookAtEverything(true);
  EXPECT_TRUE(faults.isEmpty()) << faults.join('\n').toStdString();
}

TEST_F(Languages, InEachShippedLanguageEveryTextFits) {
  for (const QString& language : languages()) {
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
