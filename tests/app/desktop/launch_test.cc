// SPDX-License-Identifier: GPL-3.0-or-later
// What a launch of the desktop program asks for and how it reaches the
// running one; the entry that opens it at login.
#include <gtest/gtest.h>

#include <QFileInfo>
#include <QTemporaryDir>
#include <filesystem>
#include <fstream>

#include "app/desktop/autostart.h"
#include "app/desktop/launch_options.h"
#include "app/desktop/single_instance.h"
#include "tests/support/scoped_environment.h"
#include "tests/support/test_support.h"

namespace Whirlpane {
namespace {

namespace fs = std::filesystem;

TEST(LaunchOptions, FollowTheLaunchRules) {
  const fs::path here = fs::current_path();
  const struct {
    std::vector<std::string> arguments;
    std::optional<fs::path> open;
    std::optional<std::string> editor;
    bool tools, testing;
    std::vector<fs::path> files;
  } cases[] = {
      // clang-format off
      {{"whirlpane"}, {}, {}, false, false, {}},
      // "--open" as the last argument counts as absent.
      {{"whirlpane", "--test-mode", "--open"}, {}, {}, false, true, {}},
      {{"whirlpane", "--tools", "--open", "b.png"}, here / "b.png", {}, true, false, {}},
      {{"whirlpane", "--open", "/p/a.jpg", "--editor", "crop"}, "/p/a.jpg", "crop", false, false, {}},
      // Open With: paths and file URIs; other URIs and values of options are no files.
      {{"whirlpane", "/p/a.jpg", "file:///p/with%20space.png", "file://localhost/p/c.pdf",
        "file://elsewhere/p/d.png", "https://example.org/e.png", "--open", "/p/o.gif", "rel.bmp"},
       "/p/o.gif", {}, false, false,
       {"/p/a.jpg", "/p/with space.png", "/p/c.pdf", here / "rel.bmp"}},
      // clang-format on
  };
  for (const auto& c : cases) {
    const LaunchOptions options = parseLaunchOptions(c.arguments);
    const std::string shown = testing::PrintToString(c.arguments);
    EXPECT_EQ(options.open, c.open) << shown;
    EXPECT_EQ(options.editor, c.editor) << shown;
    EXPECT_EQ(options.tools, c.tools) << shown;
    EXPECT_EQ(options.testing, c.testing) << shown;
    EXPECT_EQ(options.files, c.files) << shown;
  }
}

using Files = SingleInstance::Files;

TEST(SingleInstance, OnlyWellFormedMessagesNameFiles) {
  const Files files{"/home/u/a photo.jpg", "/tmp/b\nc.png"};
  EXPECT_EQ(SingleInstance::decode(SingleInstance::encode(files)), files);
  EXPECT_EQ(SingleInstance::decode(SingleInstance::encode({})), Files{});
  const QByteArray malformed[] = {
      "whirlpane-open",                                  // header cut short
      "whirlpane-close\n/a.jpg",                         // another header
      QByteArray("whirlpane-open\n/a.jpg\0/b.jpg", 28),  // the last path is not ended
      QByteArray("whirlpane-open\nrelative.jpg\0", 29),  // not absolute
      // well formed but too large
      "whirlpane-open\n" + QByteArray("/a.jpg\0", 7).repeated(SingleInstance::messageLimit / 7),
  };
  for (const QByteArray& message : malformed) {
    EXPECT_EQ(SingleInstance::decode(message), std::nullopt) << message.left(40).toStdString();
  }
}

// The hand-over itself is driven by the desktop session's second launch.
TEST(SingleInstance, OnlyThisUserMayConnect) {
  QTemporaryDir runtime;
  const ScopedEnvironment environment("XDG_RUNTIME_DIR", runtime.path().toUtf8());
  SingleInstance running;
  ASSERT_TRUE(running.listen([](Files) {}));
  EXPECT_EQ(QFileInfo(SingleInstance::socketPath()).permissions() &
                (QFile::ReadOther | QFile::WriteOther | QFile::ReadGroup | QFile::WriteGroup),
            QFile::Permissions());
}

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
}

}  // namespace
}  // namespace Whirlpane
