#include "app/chrome/desktop_glass.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <optional>

#include "app/chrome/settings.h"
#include "tests/support/scoped_environment.h"

namespace Whirlpane {
namespace {

// "useSystemGlass" is on unless the file holds a Boolean false.
TEST(Settings, SystemGlassIsOnUnlessStoredAsBooleanFalse) {
  QTemporaryDir folder;
  {
    // A relative XDG_CONFIG_HOME is not to be used.
    const ScopedEnvironment relative("XDG_CONFIG_HOME", QByteArray("relative"));
    EXPECT_EQ(settingsFilePath(), QDir::homePath() + "/.config/Whirlpane/Whirlpane.conf");
  }
  const ScopedEnvironment environment("XDG_CONFIG_HOME", folder.path().toUtf8());
  EXPECT_EQ(settingsFilePath(), folder.path() + "/Whirlpane/Whirlpane.conf");
  const struct {
    std::optional<QByteArray> file;
    bool expected;
  } cases[] = {
      {std::nullopt, true},
      {QByteArray("[General]\nuseSystemGlass=false\n"), false},
      {QByteArray("useSystemGlass=false\n"), false},
      {QByteArray("[General]\nuseSystemGlass=FALSE\n"), false},
      {QByteArray("[General]\nuseSystemGlass=true\n"), true},
      {QByteArray("[General]\nuseSystemGlass=0\n"), true},
      {QByteArray("[General]\nuseSystemGlass=no\n"), true},
      {QByteArray("[General]\nuseSystemGlass=\n"), true},
      {QByteArray("[General]\nautomaticDrag=false\n"), true},
      {QByteArray("[Other]\nuseSystemGlass=false\n"), true},
  };
  for (const auto& c : cases) {
    QDir().mkpath(folder.path() + "/Whirlpane");
    QFile file(folder.path() + "/Whirlpane/Whirlpane.conf");
    file.remove();
    if (c.file) {
      ASSERT_TRUE(file.open(QIODevice::WriteOnly));
      file.write(*c.file);
      file.close();
    }
    EXPECT_EQ(systemGlassSetting(), c.expected) << c.file.value_or("(no file)").constData();
    // The offscreen platform has no compositor, so never glass.
    EXPECT_FALSE(usesSystemGlass());
  }
  EXPECT_FALSE(compositorRunning());
}

}  // namespace
}  // namespace Whirlpane
