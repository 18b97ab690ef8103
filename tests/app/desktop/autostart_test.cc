#include "app/desktop/autostart.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <fstream>
#include <system_error>

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

}  // namespace
}  // namespace Whirlpane
