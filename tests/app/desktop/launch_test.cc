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
    std::optional<std::string> editor, format;
    bool tools, testing;
    std::vector<fs::path> files;
    std::optional<std::string> problem;
  } cases[] = {
      // clang-format off
      {{"whirlpane"}, {}, {}, {}, false, false, {}, {}},
      // "--open" as the last argument counts as absent.
      {{"whirlpane", "--test-mode", "--open"}, {}, {}, {}, false, true, {}, {}},
      {{"whirlpane", "--tools", "--open", "b.png"}, here / "b.png", {}, {}, true, false, {}, {}},
      {{"whirlpane", "--open", "/p/a.jpg", "--editor", "crop"}, "/p/a.jpg", "crop", {}, false, false, {}, {}},
      // Open With: paths and file URIs; other URIs and values of options are no files.
      {{"whirlpane", "/p/a.jpg", "file:///p/with%20space.png", "file://localhost/p/c.pdf",
        "file://elsewhere/p/d.png", "https://example.org/e.png", "--open", "/p/o.gif", "rel.bmp"},
       "/p/o.gif", {}, {}, false, false,
       {"/p/a.jpg", "/p/with space.png", "/p/c.pdf", here / "rel.bmp"}, {}},
      // The file managers' menus: the format and the editor are no files.
      {{"whirlpane", "--to", "png", "/p/a.jpg", "file:///p/b.heic"}, {}, {}, "png", false, false,
       {"/p/a.jpg", "/p/b.heic"}, {}},
      {{"whirlpane", "--editor", "crop", "/p/a.jpg"}, {}, "crop", {}, false, false, {"/p/a.jpg"}, {}},
      {{"whirlpane", "/p/a.jpg", "--to"}, {}, {}, {}, false, false, {"/p/a.jpg"},
       "--to needs a value: see whirlpane --help."},
      {{"whirlpane", "--frobnicate", "/p/a.jpg"}, {}, {}, {}, false, false, {"/p/a.jpg"},
       "--frobnicate is not an option of Whirlpane: see whirlpane --help."},
      // clang-format on
  };
  for (const auto& c : cases) {
    const LaunchOptions options = parseLaunchOptions(c.arguments);
    const std::string shown = testing::PrintToString(c.arguments);
    EXPECT_EQ(options.open, c.open) << shown;
    EXPECT_EQ(options.editor, c.editor) << shown;
    EXPECT_EQ(options.format, c.format) << shown;
    EXPECT_EQ(options.tools, c.tools) << shown;
    EXPECT_EQ(options.testing, c.testing) << shown;
    EXPECT_EQ(options.files, c.files) << shown;
    EXPECT_EQ(options.problem, c.problem) << shown;
  }
}

TEST(LaunchOptions, ARequestIsRefusedBeforeItStartsWhenItCannotBeCarriedOut) {
  TestSupport::ScratchFolder folder;
  const fs::path photo = folder / "photo.jpg", report = folder / "report.pdf",
                 notes = folder / "notes.txt", gone = folder / "gone.png",
                 phone = folder / "phone.heic";
  for (const fs::path& file : {photo, report, notes, phone}) TestSupport::writeFile(file, "x");
  const std::string f = folder.path().string();
  const struct {
    std::vector<std::string> arguments;
    std::optional<std::string> problem;
  } cases[] = {
      {{"--to", "png", photo, report}, {}},
      {{"--to", "JPEG", report}, {}},  // an alias, in any case
      {{"--to", "docx", photo, report}, {}},
      {{"--editor", "Crop", photo}, {}},
      {{"--open", photo, "--editor", "crop"}, {}},
      {{photo, notes}, {}},  // Open With leaves out what it cannot open
      {{"--to", "png"}, "Name the files to convert: whirlpane --to FORMAT FILE..."},
      {{"--editor", "crop"}, "Name the file to edit: whirlpane --editor EDITOR FILE"},
      {{"--to", "gif", photo}, "\u201Cgif\u201D is not a format Whirlpane converts to."},
      {{"--to", "heic", photo, report}, "\u201Creport.pdf\u201D cannot be converted to HEIC."},
      {{"--to", "txt", photo}, "\u201Cphoto.jpg\u201D cannot be converted to TXT."},
      // The wheel's JPG for a HEIC photo, and the file managers' HEIC for any image.
      {{"--to", "jpg", phone, photo}, "\u201Cphoto.jpg\u201D cannot be converted to JPG."},
      {{"--to", "heic", phone}, {}},
      {{"--editor", "sharpen", photo},
       "\u201Csharpen\u201D is not an editor of Whirlpane: compress, metadata, edit, annotate, "
       "background, crop, redact."},
      {{"--to", "png", "--editor", "crop", photo}, "--to and --editor cannot be used together."},
      {{"--to", "png", gone}, "\u201Cgone.png\u201D does not exist."},
      {{"--to", "png", f},
       "\u201C" + folder.path().filename().string() +
           "\u201D is a folder; choose the files in it."},
      {{"--editor", "crop", notes},
       "Whirlpane does not open \u201Cnotes.txt\u201D: images and PDFs only."},
      {{"--tools", "--verbose"}, "--verbose is not an option of Whirlpane: see whirlpane --help."},
  };
  for (const auto& c : cases) {
    std::vector<std::string> arguments{"whirlpane"};
    arguments.insert(arguments.end(), c.arguments.begin(), c.arguments.end());
    EXPECT_EQ(requestProblem(parseLaunchOptions(arguments)), c.problem)
        << testing::PrintToString(c.arguments);
  }
}

TEST(SingleInstance, TheWholeRequestCrossesAndOnlyWellFormedMessagesCount) {
  const auto request = [](std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), "whirlpane");
    return parseLaunchOptions(arguments);
  };
  const LaunchOptions requests[] = {
      request({"/home/u/a photo.jpg", "/tmp/b\nc.png"}),
      request({}),
      request({"--to", "png", "/p/a.jpg", "/p/b.heic"}),
      request({"--open", "/p/a.jpg", "--editor", "compress"}),
      request({"--open", "/p/a.jpg", "--tools"}),
      request({"--editor", "crop", "/p/--tools"}),
      request({"--show-wheel", "--tools"}),
      request({"--window"}),
  };
  for (const LaunchOptions& sent : requests) {
    EXPECT_EQ(SingleInstance::decode(SingleInstance::encode(sent)), sent)
        << SingleInstance::encode(sent).toStdString();
  }
  EXPECT_FALSE(SingleInstance::decode(SingleInstance::encode(request({"--test-mode"})))->testing)
      << "the test mode stays with its launch";
  // The header, then each argument ended by a NUL.
  const auto messageOf = [](const std::vector<QByteArray>& arguments) {
    QByteArray built = "whirlpane-open\n";
    for (const QByteArray& argument : arguments) built += argument + '\0';
    return built;
  };
  const QByteArray malformed[] = {
      "whirlpane-open",                            // header cut short
      "whirlpane-close\n/a.jpg",                   // another header
      messageOf({"/a.jpg", "/b.jpg"}).chopped(1),  // the last path is not ended
      messageOf({"relative.jpg"}),                 // not absolute
      messageOf({"--open", "relative.jpg"}),
      messageOf({"--to"}),  // a format missing
      messageOf({"--test-mode"}),
      // well formed but too large
      messageOf(std::vector<QByteArray>(SingleInstance::messageLimit / 7, "/a.jpg")),
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
  ASSERT_TRUE(running.listen([](const LaunchOptions&) {}));
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
