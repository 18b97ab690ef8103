// The switches in Whirlpane.conf: each is on or off only when the file holds
// a Boolean (true or false in any case) for it, and takes its default
// otherwise.
#include "app/chrome/settings.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "app/chrome/desktop_glass.h"
#include "app/desktop/app_settings.h"
#include "tests/support/scoped_environment.h"

namespace Whirlpane {
namespace {

TEST(Settings, SwitchesAreReadAsBooleansOrTakeTheirDefaults) {
  QTemporaryDir folder;
  {
    // A relative XDG_CONFIG_HOME is not to be used.
    const ScopedEnvironment relative("XDG_CONFIG_HOME", QByteArray("relative"));
    EXPECT_EQ(settingsFilePath(), QDir::homePath() + "/.config/Whirlpane/Whirlpane.conf");
  }
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
      {"[General]\nuseSystemGlass=true\nautomaticDrag=TRUE\n", true, true, false},
      {"[General]\nuseSystemGlass=0\nautomaticDrag=0\nhasOpenedWhirlpane=1\n", true, true, false},
      {"[General]\nuseSystemGlass=no\nautomaticDrag=maybe\nhasOpenedWhirlpane=\n", true, true,
       false},
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
  setAutomaticDrag(false);
  setHasOpenedWhirlpane();
  EXPECT_FALSE(automaticDrag());
  EXPECT_TRUE(hasOpenedWhirlpane());
  // The offscreen platform has no compositor, so never glass.
  EXPECT_FALSE(compositorRunning());
  EXPECT_FALSE(usesSystemGlass());
}

}  // namespace
}  // namespace Whirlpane
