// SPDX-License-Identifier: GPL-3.0-or-later
// The window chrome: the progress toast and its bar, and the settings file's
// switches (on or off only for a Boolean, any case; otherwise the default).
#include <gtest/gtest.h>

#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QPointer>
#include <QTemporaryDir>
#include <QVariantAnimation>
#include <memory>

#include "chrome/backdrop.h"
#include "chrome/close_circle_button.h"
#include "chrome/progress_bar.h"
#include "chrome/progress_toast.h"
#include "settings/settings.h"
#include "tests/support/scoped_environment.h"

namespace Whirlpane {
namespace {

TEST(ProgressToast, CountsSavedFilesAndNeverDrawsAnEmptyBar) {
  ProgressToast toast("Converting to PNG", 0, {100, 100});
  EXPECT_EQ(toast.detail()->text(), "0 of 0 saved");
  EXPECT_EQ(toast.bar()->fraction(), 0);
  EXPECT_EQ(toast.bar()->shown(), 0.06);
  toast.update(2, 5);
  EXPECT_EQ(toast.detail()->text(), "2 of 5 saved");
  EXPECT_DOUBLE_EQ(toast.bar()->fraction(), 0.4);
  EXPECT_EQ(toast.cancelButton()->accessibleName(), "Cancel");
}

TEST(ProgressToast, TheCloseButtonCancelsSaysSoThenDismisses) {
  ProgressToast toast("Converting to PNG", 6, {100, 100});
  toast.show();
  toast.update(2, 6);
  bool cancelled = false;
  toast.onCancel = [&] { cancelled = true; };
  toast.cancelButton()->click();
  EXPECT_TRUE(cancelled);
  EXPECT_TRUE(toast.panel()->isVisible()) << "the cancel is acknowledged, not vanished";
  EXPECT_EQ(toast.detail()->text(), QString::fromUtf8("Cancelled \u2014 2 of 6 saved"));
  // A file that was saved while the others stopped still counts, and the
  // batch's end does not cut the notice short.
  toast.update(3, 6);
  toast.finish();
  EXPECT_EQ(toast.detail()->text(), QString::fromUtf8("Cancelled \u2014 3 of 6 saved"));
  EXPECT_TRUE(toast.dismissTimer().isActive());
  EXPECT_GE(toast.dismissTimer().interval(), 1000);
  for (QDeadlineTimer deadline(10000); toast.panel()->isVisible() && !deadline.hasExpired();) {
    QApplication::processEvents(QEventLoop::AllEvents, 50);
  }
  EXPECT_FALSE(toast.panel()->isVisible());

  // The owner may drop the toast from inside onCancel.
  auto owned = std::make_unique<ProgressToast>("Converting to PNG", 4, QPointF(100, 100));
  owned->show();
  owned->onCancel = [&] { owned.reset(); };
  CloseCircleButton* button = owned->cancelButton();
  button->click();
  EXPECT_EQ(owned, nullptr);
  QApplication::processEvents();

  // ...or while it is still growing.
  auto growing = std::make_unique<ProgressToast>("Converting to PNG", 4, QPointF(100, 100));
  growing->show();
  const QPointer<QWidget> panel = growing->panel();
  growing.reset();
  ASSERT_TRUE(panel);
  for (QVariantAnimation* animation : panel->findChildren<QVariantAnimation*>())
    animation->setCurrentTime(animation->totalDuration());
  QApplication::processEvents();
}

TEST(Settings, SwitchesAreReadAsBooleansOrTakeTheirDefaults) {
  QTemporaryDir folder;
  const ScopedEnvironment environment("XDG_CONFIG_HOME", folder.path().toUtf8());
  ASSERT_EQ(settingsFilePath(), folder.path() + "/Whirlpane/Whirlpane.conf");
  const struct {
    const char* file;  // null for no file
    bool glass, automaticDrag, opened;
  } cases[] = {
      {nullptr, true, true, false},
      {"[General]\nuseSystemGlass=false\nautomaticDrag=false\nhasOpenedWhirlpane=true\n", false,
       false, true},
      {"useSystemGlass=FALSE\nautomaticDrag=False\n", false, false, false},
      {"[General]\nuseSystemGlass=0\nautomaticDrag=0\nhasOpenedWhirlpane=1\n", true, true, false},
      {"[Other]\nuseSystemGlass=false\nautomaticDrag=false\n", true, true, false},
  };
  QDir().mkpath(folder.path() + "/Whirlpane");
  QFile file(settingsFilePath());
  for (const auto& c : cases) {
    file.remove();
    if (c.file) {
      ASSERT_TRUE(file.open(QIODevice::WriteOnly));
      file.write(c.file);
      file.close();
    }
    const char* shown = c.file ? c.file : "(no file)";
    EXPECT_EQ(systemGlassSetting(), c.glass) << shown;
    EXPECT_EQ(automaticDrag(), c.automaticDrag) << shown;
    EXPECT_EQ(hasOpenedWhirlpane(), c.opened) << shown;
  }
  // The offscreen platform has no compositor, so never glass.
  EXPECT_NE(currentBackdropStyle(), BackdropStyle::glass);
}

}  // namespace
}  // namespace Whirlpane
