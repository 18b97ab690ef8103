#include "app/desktop/app_delegate.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDeadlineTimer>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QScreen>
#include <QTemporaryDir>

#include "app/chrome/progress_toast.h"
#include "app/desktop/app_settings.h"
#include "app/desktop/introduction_window.h"
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

// A delegate with a settings folder of its own; nothing else of the user's.
class Delegate : public ::testing::Test {
 protected:
  QTemporaryDir config;
  ScopedEnvironment environment{"XDG_CONFIG_HOME", config.path().toUtf8()};
  ScopedEnvironment noDisplay{"DISPLAY", std::nullopt};
  AppDelegate delegate{WHIRLPANE_BINARY};
};

TEST_F(Delegate, TheMenuReadsItsCheckMarksFromTheSettingsEachTimeItOpens) {
  delegate.launch(options({"--test-mode"}));
  const auto menuNow = [&] {
    QStringList items;
    const std::unique_ptr<QMenu> menu = delegate.buildStatusMenu();
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
  delegate.buildStatusMenu()->actions()[4]->trigger();
  EXPECT_FALSE(automaticDrag());
  EXPECT_EQ(menuNow()[4], "Show When Dragging Files (off)");
}

TEST_F(Delegate, LaunchOptionsDecideBetweenWheelAndIntroduction) {
  const QPointF centre = QRectF(QGuiApplication::primaryScreen()->availableGeometry()).center();
  {
    AppDelegate tools(WHIRLPANE_BINARY);
    tools.launch(options({"--open", "/p/photo.jpg", "--tools"}));
    EXPECT_TRUE(tools.wheel().showingTools());
    EXPECT_EQ(tools.wheel().wheel()->state().files, std::vector<fs::path>{"/p/photo.jpg"});
    EXPECT_EQ(QRectF(tools.wheel().panel()->frameGeometry()).center().toPoint(), centre.toPoint());
    EXPECT_EQ(tools.introduction(), nullptr) << "no introduction, even on first run";
  }
  EXPECT_FALSE(hasOpenedWhirlpane());
  delegate.launch(options({}));
  ASSERT_NE(delegate.introduction(), nullptr);
  EXPECT_TRUE(delegate.introduction()->isVisible());
  EXPECT_TRUE(hasOpenedWhirlpane());
  AppDelegate later(WHIRLPANE_BINARY);
  later.launch(options({}));
  EXPECT_EQ(later.introduction(), nullptr) << "the introduction comes once";
}

TEST_F(Delegate, ABatchCountsSavedFilesReportsFailuresTogetherAndRemembersTheLastOutput) {
  TestSupport::ScratchFolder folder;
  TestSupport::saveImage(TestSupport::testPicture(40, 30), folder / "a.jpg");
  TestSupport::writeFile(folder / "b.jpg", "damaged");
  TestSupport::writeFile(folder / "c.jpg", "also damaged");
  TestSupport::saveImage(TestSupport::testPicture(30, 40), folder / "d.jpg");
  delegate.launch(options({"--test-mode"}));
  const WheelAction png{"PNG", std::nullopt, "png"};
  delegate.perform({folder / "a.jpg", folder / "b.jpg", folder / "c.jpg", folder / "d.jpg"}, png);
  ASSERT_NE(delegate.toast(), nullptr);
  EXPECT_EQ(delegate.toast()->title()->text(), "Converting to PNG");
  delegate.perform({folder / "a.jpg"}, png);  // a second batch while one runs is ignored
  for (QDeadlineTimer deadline(30000); delegate.working() && !deadline.hasExpired();) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
  }
  EXPECT_EQ(delegate.toast()->detail()->text(), "2 of 4 saved");
  EXPECT_EQ(delegate.currentFiles(), std::vector<fs::path>{folder / "d.png"});
  EXPECT_FALSE(fs::exists(folder / "a 2.png")) << "the second request converted";
  QStringList alerts;
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    if (auto* box = qobject_cast<QMessageBox*>(widget); box && box->isVisible()) {
      EXPECT_EQ(box->text(), QString::fromUtf8("Couldn\u2019t complete this file"));
      alerts << box->informativeText();
      delete box;  // the tests after this one share the process
    }
  }
  EXPECT_EQ(alerts,
            QStringList{"b.jpg: Could not read b.jpg. The file may be damaged or unsupported.\n\n"
                        "c.jpg: Could not read c.jpg. The file may be damaged or unsupported."});
}

}  // namespace
}  // namespace Whirlpane
