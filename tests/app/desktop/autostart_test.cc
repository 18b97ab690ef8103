#include "app/desktop/autostart.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <fstream>
#include <system_error>

#include "app/desktop/app_settings.h"
#include "tests/support/scoped_environment.h"
#include "tests/support/test_support.h"

namespace Whirlpane {
namespace {

namespace fs = std::filesystem;

TEST(Autostart, TheEntryIsWrittenValidAndReadBackFromTheFile) {
  QTemporaryDir config;
  const ScopedEnvironment environment("XDG_CONFIG_HOME", config.path().toUtf8());
  const fs::path entry = fs::path(config.path().toStdString()) / "autostart/whirlpane.desktop";
  EXPECT_EQ(autostartEntryPath(), entry);
  EXPECT_FALSE(opensAtLogin());

  setOpensAtLogin(true, "/opt/my programs/bin/whirlpane");
  EXPECT_TRUE(opensAtLogin());
  int status = -1;
  const std::string complaints = TestSupport::shell(
      "desktop-file-validate " + TestSupport::quoted(entry.string()) + " 2>&1", &status);
  EXPECT_EQ(status, 0) << complaints;
  EXPECT_NE(TestSupport::readFile(entry).find("Exec=\"/opt/my programs/bin/whirlpane\"\n"),
            std::string::npos);

  // A settings tool that switches the entry off without removing it.
  std::ofstream(entry, std::ios::app) << "Hidden=true\n";
  EXPECT_FALSE(opensAtLogin());
  setOpensAtLogin(false, "");
  EXPECT_FALSE(fs::exists(entry));
  EXPECT_NO_THROW(setOpensAtLogin(false, "")) << "removing an absent entry is no failure";

  // A file where the folder should be: the write fails and says so.
  fs::remove_all(entry.parent_path());
  TestSupport::writeFile(entry.parent_path(), "in the way");
  EXPECT_THROW(setOpensAtLogin(true, "/usr/bin/whirlpane"), std::system_error);
}

TEST(Settings, SwitchesReadTheirDefaultsUntilStored) {
  QTemporaryDir config;
  const ScopedEnvironment environment("XDG_CONFIG_HOME", config.path().toUtf8());
  const fs::path file = fs::path(config.path().toStdString()) / "Whirlpane/Whirlpane.conf";
  const struct {
    const char* stored;  // the file's [General] section, or null for no file
    bool automatic, opened;
  } cases[] = {
      {nullptr, true, false},
      {"automaticDrag=false\nhasOpenedWhirlpane=true\n", false, true},
      {"automaticDrag=FALSE\n", false, false},
      {"automaticDrag=0\nhasOpenedWhirlpane=1\n", true, false},  // not Booleans
      {"automaticDrag=maybe\n", true, false},
  };
  for (const auto& c : cases) {
    fs::remove_all(file.parent_path());
    if (c.stored) {
      fs::create_directories(file.parent_path());
      TestSupport::writeFile(file, std::string("[General]\n") + c.stored);
    }
    EXPECT_EQ(automaticDrag(), c.automatic) << (c.stored ? c.stored : "no file");
    EXPECT_EQ(hasOpenedWhirlpane(), c.opened) << (c.stored ? c.stored : "no file");
  }
  setAutomaticDrag(false);
  setHasOpenedWhirlpane();
  EXPECT_FALSE(automaticDrag());
  EXPECT_TRUE(hasOpenedWhirlpane());
}

}  // namespace
}  // namespace Whirlpane
