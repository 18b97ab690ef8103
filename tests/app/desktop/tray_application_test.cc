// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/desktop/tray_application.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDeadlineTimer>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QWindow>
#include <algorithm>
#include <functional>

#include "app/command_line.h"
#include "app/desktop/introduction_window.h"
#include "chrome/progress_toast.h"
#include "settings/settings.h"
#include "tests/support/scoped_environment.h"
#include "tests/support/test_support.h"
#include "wheel/radial_menu.h"
#include "wheel/wheel_controller.h"
#include "wheel/wheel_panel.h"

namespace Whirlpane {
namespace {

namespace fs = std::filesystem;

// The launch options of a program started with `arguments`.
LaunchOptions options(std::vector<std::string> arguments) {
  arguments.insert(arguments.begin(), "whirlpane");
  return parseLaunchOptions(arguments);
}

// The tray application with a settings folder of its own; nothing else of the user's.
class Tray : public ::testing::Test {
 protected:
  QTemporaryDir config;
  ScopedEnvironment environment{"XDG_CONFIG_HOME", config.path().toUtf8()};
  ScopedEnvironment noDisplay{"DISPLAY", std::nullopt};
  TrayApplication tray{WHIRLPANE_BINARY};

  // Runs the event loop until `done` (30 s at most).
  static void waitUntil(const std::function<bool()>& done) {
    for (QDeadlineTimer deadline(30000); !done() && !deadline.hasExpired();)
      QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  }
  // Until `count` editors are open: an editor's file is read off the
  // interface thread before its window is built.
  void waitForEditors(size_t count) {
    waitUntil([&] { return tray.editors().openWindows().size() >= count; });
  }
  void finish() {
    waitUntil([&] { return !tray.working(); });
  }
  QMessageBox* alert() { return qobject_cast<QMessageBox*>(QApplication::activeModalWidget()); }
  const WheelAction png{"PNG", std::nullopt, "png"};
};

TEST_F(Tray, TheMenuReadsItsCheckMarksFromTheSettingsEachTimeItOpens) {
  tray.launch(options({"--test-mode"}));
  const auto menuNow = [&] {
    QStringList items;
    const std::unique_ptr<QMenu> menu = tray.buildStatusMenu();
    for (QAction* action : menu->actions()) {
      QString item = action->isSeparator() ? "--" : action->text();
      if (!action->shortcut().isEmpty()) item += " [" + action->shortcut().toString() + "]";
      if (action->isCheckable()) item += action->isChecked() ? " (on)" : " (off)";
      if (!action->isEnabled()) item += " (heading)";
      items << item;
    }
    return items;
  };
  EXPECT_EQ(menuNow(),
            (QStringList{"Whirlpane (heading)", "--", QString::fromUtf8("Open File\u2026 [Ctrl+O]"),
                         "Show Wheel", "Show When Dragging Files (on)",
                         QString::fromUtf8("How to Use\u2026"), "Open at Login (off)", "--",
                         "Quit Whirlpane [Ctrl+Q]"}));
  // Choosing the item while it shows a check mark stores false.
  tray.buildStatusMenu()->actions()[4]->trigger();
  EXPECT_FALSE(automaticDrag());
  EXPECT_EQ(menuNow()[4], "Show When Dragging Files (off)");
}

TEST_F(Tray, LaunchOptionsDecideBetweenWheelAndIntroduction) {
  const QPointF center = QRectF(QGuiApplication::primaryScreen()->availableGeometry()).center();
  {
    TrayApplication tools(WHIRLPANE_BINARY);
    tools.launch(options({"--open", "/p/photo.jpg", "--tools"}));
    EXPECT_TRUE(tools.wheel().showingTools());
    EXPECT_EQ(tools.wheel().wheel()->state().files, std::vector<fs::path>{"/p/photo.jpg"});
    EXPECT_EQ(QRectF(tools.wheel().panel()->frameGeometry()).center().toPoint(), center.toPoint());
    EXPECT_EQ(tools.introduction(), nullptr) << "no introduction, even on first run";
  }
  EXPECT_FALSE(hasOpenedWhirlpane());
  tray.launch(options({}));
  ASSERT_NE(tray.introduction(), nullptr);
  EXPECT_TRUE(tray.introduction()->isVisible());
  EXPECT_TRUE(hasOpenedWhirlpane());
  TrayApplication later(WHIRLPANE_BINARY);
  later.launch(options({}));
  EXPECT_EQ(later.introduction(), nullptr) << "the introduction comes once";
}

TEST_F(Tray, MenuRequestsConvertInTurnAndOpenEditors) {
  TestSupport::ScratchFolder folder;
  TestSupport::saveImage(TestSupport::testPicture(40, 30), folder / "a.jpg");
  TestSupport::saveImage(TestSupport::testPicture(30, 40), folder / "b.png");
  tray.launch(options({"--test-mode"}));
  tray.carryOut(options({"--to", "png", (folder / "a.jpg").string()}));
  ASSERT_TRUE(tray.working());
  EXPECT_EQ(tray.toast()->title()->text(), "Converting to PNG");
  // Asked while the first runs: it waits, then runs as a batch of its own.
  tray.carryOut(options({"--to", "jpeg", (folder / "b.png").string()}));
  waitUntil([&] { return fs::exists(folder / "b.jpg") && !tray.working(); });
  EXPECT_TRUE(fs::exists(folder / "a.png"));
  EXPECT_TRUE(fs::exists(folder / "b.jpg"));
  EXPECT_EQ(tray.toast()->title()->text(), "Converting to JPG");

  tray.carryOut(options({"--editor", "crop", (folder / "a.jpg").string()}));
  waitForEditors(1);
  ASSERT_EQ(tray.editors().openWindows().size(), 1u);
  EXPECT_EQ(tray.editors().openWindows()[0]->objectName(), "editor.crop.window");
}

// Open With keeps the files the program opens; the batch counts what it saved,
// names every file it left out or could not convert in one alert, and
// remembers its last output.
TEST_F(Tray, ABatchCountsSavedFilesAndNamesEveryFileLeftOutOrFailedInOneAlert) {
  TestSupport::ScratchFolder folder;
  TestSupport::saveImage(TestSupport::testPicture(40, 30), folder / "a.jpg");
  TestSupport::writeFile(folder / "notes", "x");
  TestSupport::writeFile(folder / "readme.txt", "x");
  TestSupport::writeFile(folder / "broken.jpg", "damaged");
  TestSupport::saveImage(TestSupport::testPicture(30, 40), folder / "d.jpg");
  tray.launch(options({"--test-mode"}));
  tray.carryOut(options({(folder / "a.jpg").string(), (folder / "notes").string(),
                         (folder / "readme.txt").string(), (folder / "broken.jpg").string(),
                         (folder / "d.jpg").string()}));
  EXPECT_EQ(tray.currentFiles(),
            (std::vector<fs::path>{folder / "a.jpg", folder / "broken.jpg", folder / "d.jpg"}));
  tray.perform(tray.currentFiles(), png);
  ASSERT_NE(tray.toast(), nullptr);
  EXPECT_EQ(tray.toast()->title()->text(), "Converting to PNG");
  tray.perform({folder / "a.jpg"}, png);  // a second batch while one runs is ignored
  finish();
  EXPECT_EQ(tray.toast()->detail()->text(), "2 of 3 saved");
  EXPECT_EQ(tray.currentFiles(), std::vector<fs::path>{folder / "d.png"});
  EXPECT_FALSE(fs::exists(folder / "a 2.png")) << "the second request converted";
  ASSERT_NE(alert(), nullptr);
  EXPECT_EQ(alert()->text(), QString::fromUtf8("Couldn\u2019t complete 3 files"));
  EXPECT_EQ(alert()->informativeText(),
            "notes: left out, because it has no extension that tells its format.\n\n"
            "readme.txt: left out, because Whirlpane takes only images and PDFs.\n\n"
            "broken.jpg: Could not read broken.jpg. The file may be damaged or unsupported.");
  delete alert();  // the tests after this one share the process
}

TEST_F(Tray, TheShortcutsCommandShowsTheWheelForTheCurrentFiles) {
  tray.launch(options({"--test-mode", "--open", "/p/photo.jpg"}));
  tray.wheel().hideWheel();
  tray.carryOut(options({"--show-wheel", "--tools"}));
  EXPECT_TRUE(tray.wheel().panel()->isVisible());
  EXPECT_TRUE(tray.wheel().showingTools());
  EXPECT_EQ(tray.wheel().wheel()->files(), std::vector<fs::path>{"/p/photo.jpg"});
}

TEST_F(Tray, TheIntroductionOffersOnlyItsCloseButtonAndEscapeClosesIt) {
  tray.showIntroduction();
  QWidget* introduction = tray.introduction();
  EXPECT_EQ(
      introduction->windowFlags() &
          (Qt::WindowMaximizeButtonHint | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      Qt::WindowCloseButtonHint);
  QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
  QApplication::sendEvent(introduction, &escape);
  EXPECT_FALSE(introduction->isVisible());
}

TEST_F(Tray, AFailedConversionsAlertStaysAboveTheOpenEditorAndReleasesIt) {
  TestSupport::ScratchFolder folder;
  TestSupport::saveImage(TestSupport::testPicture(40, 30), folder / "a.jpg");
  TestSupport::writeFile(folder / "b.jpg", "damaged");
  tray.launch(options({"--test-mode", "--editor", "crop", (folder / "a.jpg").string()}));
  waitForEditors(1);
  ASSERT_EQ(tray.editors().openWindows().size(), 1u);
  QWidget* editor = tray.editors().openWindows()[0];
  ASSERT_TRUE(editor->isVisible());
  tray.perform({folder / "b.jpg"}, png);
  finish();
  ASSERT_NE(alert(), nullptr);
  EXPECT_EQ(alert()->parentWidget(), editor);
  EXPECT_EQ(alert()->windowHandle()->transientParent(), editor->windowHandle());
  EXPECT_TRUE(alert()->windowFlags() & Qt::WindowStaysOnTopHint);
  EXPECT_EQ(alert()->windowModality(), Qt::WindowModal);
  alert()->button(QMessageBox::Ok)->click();
  QCoreApplication::processEvents();
  EXPECT_EQ(QGuiApplication::modalWindow(), nullptr) << "the editor is blocked still";
  EXPECT_TRUE(editor->isVisible());
}

// A locked PDF asks for its password, says when one is wrong and asks again,
// and converts with the right one.
TEST_F(Tray, ALockedPDFAsksForItsPasswordUntilOneOpensIt) {
  TestSupport::ScratchFolder folder;
  TestSupport::saveImage(TestSupport::testPicture(60, 40), folder / "page.png");
  TestSupport::shell("cd " + TestSupport::quoted(folder.path().string()) + " && " +
                     WHIRLPANE_BINARY " --convert page.png --to pdf >/dev/null" +
                     " && qpdf --encrypt secret owner 256 -- page.pdf locked.pdf");
  tray.launch(options({"--test-mode"}));
  // Runs the batch to its end, then answers the password alert with `typed`.
  const auto answer = [&](const QString& typed) -> QString {
    finish();
    QCoreApplication::processEvents();
    if (!alert() || alert()->objectName() != "password-alert") return {};
    const QString told = alert()->informativeText();
    auto* field = alert()->findChild<QLineEdit*>("password-alert.field");
    EXPECT_NE(field, nullptr);
    if (!field) return {};
    EXPECT_EQ(field->echoMode(), QLineEdit::Password);
    field->setText(typed);
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(field, &enter);
    QCoreApplication::processEvents();
    return told;
  };
  tray.perform({folder / "locked.pdf"}, png);
  EXPECT_TRUE(answer("guess").startsWith("Type its password"));
  EXPECT_TRUE(answer("secret").startsWith("That password does not open it."));
  EXPECT_EQ(answer({}), QString()) << "asked again after the right password";
  EXPECT_EQ(tray.currentFiles(), std::vector<fs::path>{folder / "locked.png"});
  EXPECT_TRUE(fs::exists(folder / "locked.png"));
}

// A batch whose folder may not be written offers another folder; the one
// chosen takes those files, and every later one like them, without asking.
TEST_F(Tray, AFolderThatCannotBeWrittenIsReplacedByOneTheUserChooses) {
  TestSupport::LimitedFolder photos(1 << 20);
  TestSupport::saveImage(TestSupport::testPicture(40, 30), photos / "a.jpg");
  TestSupport::saveImage(TestSupport::testPicture(30, 40), photos / "b.jpg");
  if (!photos.makeReadOnly()) GTEST_SKIP() << "no folder here refuses this process";
  TestSupport::ScratchFolder other;
  tray.launch(options({"--test-mode"}));
  tray.perform({photos / "a.jpg"}, png);
  finish();
  ASSERT_NE(alert(), nullptr);
  EXPECT_EQ(alert()->informativeText().toStdString(),
            "a.jpg: “a.png” could not be saved: the folder “" + photos.path().filename().string() +
                "” does not let you save files in it.");
  auto* choose = alert()->findChild<QPushButton*>("choose-other-folder");
  ASSERT_NE(choose, nullptr);
  EXPECT_EQ(choose->text(), QString::fromUtf8("Choose Another Folder\u2026"));
  choose->click();
  QCoreApplication::processEvents();
  QFileDialog* chooser = nullptr;
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    if (widget->objectName() == "other-folder-chooser")
      chooser = qobject_cast<QFileDialog*>(widget);
  }
  ASSERT_NE(chooser, nullptr);
  chooser->setDirectory(QString::fromStdString(other.path().string()));
  static_cast<QDialog*>(chooser)->accept();  // as its Open button does
  finish();
  tray.perform({photos / "b.jpg"}, png);
  finish();
  EXPECT_EQ(TestSupport::listFolder(other.path()), (std::vector<std::string>{"a.png", "b.png"}));
  EXPECT_EQ(alert(), nullptr) << "no alert when the folder is known";
}

TEST_F(Tray, EveryToolOnTheWheelOpensItsEditorAndEveryEditorHasAWedge) {
  TestSupport::ScratchFolder folder;
  const fs::path photo = folder / "photo.jpg";
  TestSupport::saveImage(TestSupport::testPicture(40, 30), photo);
  tray.launch(options({"--test-mode", "--open", photo.string(), "--tools"}));
  const std::vector<WheelAction> wedges = tray.wheel().wheel()->actions();
  std::vector<std::string> keys;
  for (const WheelAction& wedge : wedges) keys.push_back(wedge.key);
  // The command line's help and completion name the same editors, in order.
  EXPECT_EQ(keys, std::vector<std::string>(std::begin(editorKeys), std::end(editorKeys)));
  std::sort(keys.begin(), keys.end());
  EXPECT_EQ(keys, tray.editors().editorKeys());
  for (const WheelAction& wedge : wedges) {
    const size_t before = tray.editors().openWindows().size();
    tray.perform({photo}, wedge);
    waitForEditors(before + 1);
    EXPECT_EQ(tray.editors().openWindows().size(), before + 1) << wedge.label;
  }
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    EXPECT_EQ(qobject_cast<QMessageBox*>(widget), nullptr) << "an editor failed to open";
  }
}

}  // namespace
}  // namespace Whirlpane
