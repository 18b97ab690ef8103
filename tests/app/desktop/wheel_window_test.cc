// SPDX-License-Identifier: GPL-3.0-or-later
// The program's own window, offscreen (where no tray exists, so the window
// is the program): what a drag over it offers, where a drop goes, the file
// chooser it opens, and the end of the program when it closes.
#include "app/desktop/wheel_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDeadlineTimer>
#include <QDragEnterEvent>
#include <QFileDialog>
#include <QMimeData>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTimer>
#include <QUrl>

#include "app/desktop/tray_application.h"
#include "tests/support/scoped_environment.h"
#include "tests/support/test_support.h"
#include "wheel/wheel_controller.h"
#include "wheel/wheel_panel.h"

namespace Whirlpane {
namespace {

namespace fs = std::filesystem;

constexpr QPointF centre{133, 133};
constexpr QPointF topWedge{133, 53};  // wedge 0, the first format
constexpr QPointF outside{6, 6};      // in the window, off the disc

std::vector<std::string> labels(const std::vector<WheelAction>& actions) {
  std::vector<std::string> out;
  for (const WheelAction& action : actions) out.push_back(action.label);
  return out;
}

class WindowTest : public ::testing::Test {
 protected:
  QTemporaryDir config;
  ScopedEnvironment environment{"XDG_CONFIG_HOME", config.path().toUtf8()};
  ScopedEnvironment noDisplay{"DISPLAY", std::nullopt};
  TestSupport::ScratchFolder folder;
  TrayApplication tray{WHIRLPANE_BINARY};

  void SetUp() override {
    tray.launch(parseLaunchOptions({"whirlpane", "--test-mode"}));
    ASSERT_NE(tray.window(), nullptr) << "no tray offscreen: the window is the program";
  }
  void TearDown() override {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
      if (qobject_cast<QFileDialog*>(widget)) delete widget;
    }
  }

  WindowWheel* disc() { return tray.window()->wheel(); }

  // Drags `files` into the window to `at` and, unless `drop` is false,
  // drops them there; whether the window took the last event.
  bool drag(const std::vector<fs::path>& files, QPointF at, bool drop = true,
            Qt::KeyboardModifiers keys = Qt::NoModifier) {
    QMimeData data;
    QList<QUrl> urls;
    for (const fs::path& file : files) urls << QUrl::fromLocalFile(QString::fromStdString(file));
    data.setUrls(urls);
    QDragEnterEvent enter(at.toPoint(), Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton,
                          keys);
    QApplication::sendEvent(disc(), &enter);
    if (!drop) return enter.isAccepted();
    QDropEvent dropped(at, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, keys);
    QApplication::sendEvent(disc(), &dropped);
    return dropped.isAccepted();
  }

  void click(QPointF at) {
    QMouseEvent press(QEvent::MouseButtonPress, at, disc()->mapToGlobal(at), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(disc(), &press);
  }

  QFileDialog* chooser() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
      if (auto* dialog = qobject_cast<QFileDialog*>(widget); dialog && dialog->isVisible())
        return dialog;
    }
    return nullptr;
  }

  bool waitFor(const std::function<bool()>& done) {
    for (QDeadlineTimer deadline(30000); !done() && !deadline.hasExpired();) {
      QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    }
    return done();
  }
};

TEST_F(WindowTest, ADragOffersTheWedgesForItsFilesAndTheToolsWithAlt) {
  const std::vector<std::string> tools = labels(toolWedges());
  const std::vector<std::string> images = {"PNG",  "WEBP", "HEIC", "TIFF",
                                           "AVIF", "BMP",  "PDF",  "DOCX"};
  const struct {
    std::vector<fs::path> files;
    Qt::KeyboardModifiers keys;
    bool taken;
    std::vector<std::string> wedges;
  } cases[] = {
      {{"/p/report.PDF", "/p/photo.jpg"}, Qt::NoModifier, true, {"DOCX", "JPG", "PNG", "TXT"}},
      // The first file Whirlpane opens decides.
      {{"/p/notes.txt", "/p/photo.png"},
       Qt::NoModifier,
       true,
       {"JPG", "WEBP", "HEIC", "TIFF", "AVIF", "BMP", "PDF", "DOCX"}},
      {{"/p/report.pdf"}, Qt::AltModifier, true, tools},
      // Nothing it opens: refused, and the disc stays at rest.
      {{"/p/notes.txt", "/p/archive"}, Qt::NoModifier, false, images},
  };
  for (const auto& c : cases) {
    disc()->rest();
    EXPECT_EQ(drag(c.files, topWedge, false, c.keys), c.taken) << c.files.front();
    EXPECT_EQ(labels(disc()->actions()), c.wedges) << c.files.front();
    EXPECT_EQ(disc()->state().centerCaption().kind == WheelState::CenterCaption::Kind::drop,
              !c.taken)
        << "the pill asks for files only at rest";
  }
}

TEST_F(WindowTest, ADropOnAWedgeConvertsBesideTheSourceAndOnTheCentreOpensTheWheel) {
  const fs::path photo = folder / "photo.jpg";
  TestSupport::saveImage(TestSupport::testPicture(40, 30), photo);

  EXPECT_FALSE(drag({photo}, outside)) << "off the disc, nothing";
  EXPECT_TRUE(drag({photo}, topWedge));
  EXPECT_TRUE(waitFor([&] { return fs::exists(folder / "photo.png") && !tray.working(); }));
  EXPECT_EQ(labels(disc()->actions()).front(), "PNG") << "back at rest";

  EXPECT_TRUE(drag({photo}, centre, true, Qt::AltModifier));
  EXPECT_TRUE(waitFor([&] { return tray.wheel().panel()->isVisible(); }));
  EXPECT_TRUE(tray.wheel().showingTools());
  EXPECT_EQ(tray.wheel().wheel()->files(), std::vector<fs::path>{photo});
  EXPECT_EQ(tray.currentFiles(), std::vector<fs::path>{photo});
}

TEST_F(WindowTest, TheCentreOpensTheChooserAndAWedgeChosenFirstTakesTheChosenFiles) {
  const fs::path photo = folder / "photo.jpg";
  TestSupport::saveImage(TestSupport::testPicture(40, 30), photo);

  click(centre);
  QFileDialog* dialog = chooser();
  ASSERT_NE(dialog, nullptr);
  Q_EMIT dialog->filesSelected({QString::fromStdString(photo)});
  EXPECT_TRUE(tray.wheel().panel()->isVisible()) << "the wheel for the chosen file";
  delete dialog;
  tray.wheel().hideWheel();

  click(topWedge);  // PNG, before any file
  dialog = chooser();
  ASSERT_NE(dialog, nullptr);
  Q_EMIT dialog->filesSelected({QString::fromStdString(photo)});
  EXPECT_TRUE(waitFor([&] { return fs::exists(folder / "photo.png") && !tray.working(); }));
  EXPECT_FALSE(tray.wheel().panel()->isVisible());
}

TEST_F(WindowTest, ClosingTheWindowWithoutATrayEndsTheProgramAndALaunchRaisesIt) {
  tray.window()->hide();
  tray.carryOut(parseLaunchOptions({"whirlpane"}));
  EXPECT_TRUE(tray.window()->isVisible()) << "a second launch brings the window back";
  tray.carryOut(parseLaunchOptions({"whirlpane", "--show-wheel"}));
  EXPECT_FALSE(tray.wheel().panel()->isVisible()) << "no files: the window, not an empty wheel";

  QTimer giveUp;
  giveUp.setSingleShot(true);
  QObject::connect(&giveUp, &QTimer::timeout, [] { QCoreApplication::exit(7); });
  giveUp.start(10000);
  QTimer::singleShot(0, tray.window(), [this] { tray.window()->close(); });
  EXPECT_EQ(QCoreApplication::exec(), 0);
}

}  // namespace
}  // namespace Whirlpane
