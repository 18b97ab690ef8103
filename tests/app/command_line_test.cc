// SPDX-License-Identifier: GPL-3.0-or-later
// The command line: the mode and files its arguments ask for, and the built
// program run as a user runs it.
#include "app/command_line.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "tests/support/test_support.h"
#include "tests/support/text_fixtures.h"

namespace Whirlpane {
namespace {

using Mode = Invocation::Mode;

struct Case {
  std::vector<std::string> arguments;  // after the program path
  Mode mode;
  std::string source;
  std::string format;
};

TEST(CommandLine, DecidesTheModeFromTheArgumentsAlone) {
  const std::vector<Case> cases{
      {{}, Mode::application, "", ""},
      {{"--convert", "photo.jpg", "--to", "png"}, Mode::convert, "photo.jpg", "png"},
      {{"--to", "png", "--convert", "photo.jpg"}, Mode::convert, "photo.jpg", "png"},
      {{"--convert", "photo.jpg"}, Mode::usageError, "", ""},
      // Values are positional: an option-looking value is still a value.
      {{"--convert", "--to", "png"}, Mode::convert, "--to", "png"},
      {{"--convert", " a.jpg ", "--to", "--version"}, Mode::convert, " a.jpg ", "--version"},
      // The first occurrence of each option counts.
      {{"--convert", "a.jpg", "--convert", "b.jpg", "--to", "png", "--to", "jpg"},
       Mode::convert,
       "a.jpg",
       "png"},
      {{"--version", "--convert", "a.png", "--to", "jpg"}, Mode::convert, "a.png", "jpg"},
      {{"--version"}, Mode::version, "", ""},
      {{"--help"}, Mode::help, "", ""},
      // Exact, case-sensitive, whole-argument matching only.
      {{"--convert", "a.jpg", "--TO", "png"}, Mode::usageError, "", ""},
      // The file operations rank below --convert.
      {{"--metadata", "a.jpg"}, Mode::metadata, "a.jpg", ""},
      {{"--metadata", "a.jpg", "--convert", "b.jpg", "--to", "png"}, Mode::convert, "b.jpg", "png"},
      {{"--compress", "a.jpg", "--quality", "0.5"}, Mode::compress, "a.jpg", ""},
      {{"--compress", "a.jpg"}, Mode::usageError, "", ""},
      {{"--strip", "--version"}, Mode::strip, "--version", ""},
      {{"--convert", "a.jpg", "--to", "png", "--output-folder"}, Mode::usageError, "", ""},
      {{"--convert", "a.jpg", "--to", "png", "--batch-worker"}, Mode::batchWorker, "", ""},
  };
  for (const Case& c : cases) {
    std::vector<std::string> arguments{"/usr/bin/whirlpane"};
    arguments.insert(arguments.end(), c.arguments.begin(), c.arguments.end());
    const Invocation invocation = parseCommandLine(arguments);
    const std::string shown = testing::PrintToString(c.arguments);
    EXPECT_EQ(invocation.mode, c.mode) << shown;
    EXPECT_EQ(invocation.source, c.source) << shown;
    EXPECT_EQ(invocation.format, c.format) << shown;
  }
  // Each incomplete form is answered with its own usage line, the quality as typed.
  EXPECT_EQ(parseCommandLine({"w", "--compress", "a.jpg"}).usage, compressUsageLine);
  EXPECT_EQ(parseCommandLine({"w", "--convert", "a"}).usage, usageLine);
  EXPECT_EQ(parseCommandLine({"w", "--compress", "a.jpg", "--quality", " 0.5x"}).quality, " 0.5x");
  // --convert takes files up to the next option the program knows.
  const std::pair<std::vector<std::string>, std::vector<std::string>> several[] = {
      {{"--convert", "a.jpg", "b c.png", "-d.gif", "--to", "png"}, {"a.jpg", "b c.png", "-d.gif"}},
      {{"--to", "png", "--convert", "a.jpg", "b.jpg"}, {"a.jpg", "b.jpg"}},
      {{"--convert", "a.jpg", "--to", "png", "b.jpg"}, {"a.jpg"}},
      {{"--convert", "--to", "png"}, {"--to"}},
      {{"--convert", "a.jpg", "--editor", "crop", "--to", "png"}, {"a.jpg"}},
  };
  for (const auto& [arguments, sources] : several) {
    std::vector<std::string> all{"w"};
    all.insert(all.end(), arguments.begin(), arguments.end());
    EXPECT_EQ(parseCommandLine(all).sources, sources) << testing::PrintToString(arguments);
  }
  EXPECT_EQ(parseCommandLine({"w", "--output-folder", "/o", "--convert", "a", "--to", "png"})
                .outputFolder,
            "/o");
  // The program's own path is scanned like any argument.
  EXPECT_EQ(parseCommandLine({"--convert", "a.png", "--to", "jpg"}).source, "a.png");
}

using TestSupport::RunResult;
using TestSupport::runWhirlpane;
using TestSupport::ScratchFolder;
using TestSupport::shell;
using vips::VImage;
namespace fs = std::filesystem;

const std::string usage = "Usage: whirlpane --convert /path/to/file… --to png\n";

TEST(WhirlpaneCli, EveryModeAnswersWithItsStreamsAndStatus) {
  ScratchFolder folder;
  TestSupport::saveImage(TestSupport::testPicture(20, 10), folder / "a.png");
  VImage noted = TestSupport::testPicture(12, 8).copy();
  noted.set("png-comment-0-Note", "tab\there\nnext line");
  noted.set("png-comment-1-Folder", "C:\\new\\table");
  TestSupport::saveImage(noted, folder / "note.png");
  TestSupport::saveImage(TestSupport::testPicture(16385, 64), folder / "wide.png");
  TestSupport::saveImage(TestSupport::testPicture(16384, 64), folder / "limit.png");
  // A scan stored with its reduced copies as further pages, as slide scanners write them.
  TestSupport::saveImage(TestSupport::testPicture(1024, 768), folder / "slide.tif",
                         "[pyramid,tile,compression=jpeg]");
  const std::string most = " images can be at most ";
  struct Run {
    std::vector<std::string> arguments;
    int status;
    std::string err;
    std::string out;  // all of it, or a line it holds ("\n...\n")
  };
  const std::vector<Run> cases{
      {{"--version"}, 0, "", "Whirlpane 1.1.0\n"},
      {{"--help"}, 0, "", "\nOutput formats: png jpg webp heic tiff avif bmp pdf docx txt\n"},
      {{"--convert", "a.png"}, 2, usage, ""},
      // Text recognition runs and finds nothing, without a word of its own on the terminal.
      {{"--convert", "a.png", "--to", "txt"}, 1, "No readable text was found in this file.\n", ""},
      // Too wide for the format: refused before encoding.
      {{"--convert", "wide.png", "--to", "heic"},
       1,
       "HEIC" + most + "16384 pixels wide and high; this one is 16385 \u00d7 64.\n",
       ""},
      {{"--convert", "limit.png", "--to", "webp"},
       1,
       "WEBP" + most + "16383 pixels wide and high; this one is 16384 \u00d7 64.\n",
       ""},
      // Values have backslashes, tabs and line breaks escaped.
      {{"--metadata", "note.png"}, 0, "", "\nPNG \u00b7 Note\ttab\\there\\nnext line\n"},
      {{"--metadata", "note.png"}, 0, "", "\nPNG \u00b7 Folder\tC:\\\\new\\\\table\n"},
      {{"--metadata", "slide.tif"}, 0, "", "\nFrames\t1\n"},
  };
  const auto before = TestSupport::listFolder(folder.path());
  for (const Run& c : cases) {
    SCOPED_TRACE(c.arguments[0] + " " + c.arguments.back());
    const RunResult result = runWhirlpane(c.arguments, folder.path());
    EXPECT_EQ(result.status, c.status);
    EXPECT_EQ(result.err, c.err);
    if (c.out.starts_with("\n")) {
      EXPECT_NE(result.out.find(c.out), std::string::npos) << result.out;
    } else {
      EXPECT_EQ(result.out, c.out);
    }
  }
  EXPECT_EQ(TestSupport::listFolder(folder.path()), before);
  // Without any display the desktop program points to the command line.
  int status = -1;
  EXPECT_EQ(shell("env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM " +
                      TestSupport::quoted(WHIRLPANE_BINARY) + " 2>&1 >/dev/null",
                  &status),
            "Whirlpane needs a graphical desktop, and none was found (DISPLAY and WAYLAND_DISPLAY "
            "are not set). Without one, use the command line: whirlpane --convert FILE --to "
            "FORMAT (see --help).\n");
  EXPECT_EQ(status, 1);
  // Only a conversion may pay for loading libvips and its codecs, and only the
  // desktop application for Qt.
  const std::string libraries = shell(std::string("ldd ") + WHIRLPANE_BINARY);
  for (const char* library : {"libvips", "libheif", "libQt"})
    EXPECT_EQ(libraries.find(library), std::string::npos) << libraries;
}

// Each operation prints the absolute path of every file it wrote; each output
// is no more open than its source, whatever the umask allows.
TEST(WhirlpaneCli, OperationsPrintWhatTheyWroteKeepingTheSourcesMode) {
  ScratchFolder folder;
  const mode_t saved = ::umask(022);
  fs::create_directory(folder / "sub");
  TestSupport::saveImage(TestSupport::testPicture(120, 80), folder / "sub" / "My Photo.jpg");
  TestSupport::saveImage(TestSupport::testPicture(120, 80), folder / "print.tiff");
  TestSupport::writePDF(folder / "shared.pdf", {{{"One"}, {}}, {{"Two"}, {}}});
  fs::permissions(folder / "sub" / "My Photo.jpg", fs::perms(0600));
  fs::permissions(folder / "shared.pdf", fs::perms(0640));
  const std::tuple<std::vector<std::string>, std::vector<std::string>, int> cases[] = {
      {{"--to", "PNG", "--convert", "./sub/My Photo.jpg"}, {"sub/My Photo.png"}, 0600},
      {{"--strip", "print.tiff"}, {"print-clean.tiff"}, 0644},
      {{"--convert", "shared.pdf", "--to", "jpg"},
       {"shared-page-1.jpg", "shared-page-2.jpg"},
       0640},
  };
  for (const auto& [arguments, written, mode] : cases) {
    SCOPED_TRACE(arguments[1]);
    const RunResult result = runWhirlpane(arguments, folder.path());
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.err, "");
    std::string printed;
    for (const std::string& name : written) {
      printed += (folder / name).string() + "\n";
      EXPECT_EQ(fs::status(folder / name).permissions(), fs::perms(mode)) << name;
    }
    EXPECT_EQ(result.out, printed);
  }
  ::umask(saved);
}

// Several files convert at once, but their outputs are printed in the order
// given, and each that fails has a line of its own naming it while the rest
// go on; any failure makes the status 1.
TEST(WhirlpaneCli, SeveralFilesPrintInTheirOrderAndFailOneByOne) {
  ScratchFolder folder;
  // The first is the slowest, so that later files finish before it.
  TestSupport::saveImage(TestSupport::noisePicture(1500, 1000), folder / "big.png");
  TestSupport::saveImage(TestSupport::testPicture(40, 30), folder / "a.jpg");
  TestSupport::writeFile(folder / "broken.jpg",
                         TestSupport::readFile(folder / "a.jpg").substr(0, 300));
  TestSupport::saveImage(TestSupport::testPicture(40, 30), folder / "b.png");
  TestSupport::saveImage(TestSupport::testPicture(16, 16), folder / "frames.gif",
                         "[page_height=8]");
  TestSupport::writePDF(folder / "two.pdf", {{{"One"}, {}}, {{"Two"}, {}}}, 72, 72);
  const std::string damaged = ". The file may be damaged or unsupported.";
  // Each file as typed, and what it prints: an output file, or a failure.
  const std::vector<std::pair<std::string, std::string>> files{
      {"big.png", "out big 2.png"},
      {"a.jpg", "out a.png"},
      {"broken.jpg", "err broken.jpg: Could not read broken.jpg" + damaged},
      {"missing.jpg", "err missing.jpg: Could not open \"" + (folder / "missing.jpg").string() +
                          "\": No such file or directory"},
      {"b.png", "out b 2.png"},
      {"frames.gif",
       "err frames.gif: This operation would discard additional image frames. "
       "Convert individual frames first."},
      {"two.pdf", "out two-page-1.png"},
      {"./a.jpg", "out a 2.png"},
  };
  std::vector<std::string> arguments{"--convert"};
  std::string out, err;
  for (const auto& [file, printed] : files) {
    arguments.push_back(file);
    if (printed.starts_with("out "))
      out += (folder / printed.substr(4)).string() + "\n";
    else
      err += printed.substr(4) + "\n";
    if (file == "two.pdf") out += (folder / "two-page-2.png").string() + "\n";
  }
  arguments.insert(arguments.end(), {"--to", "png"});
  const RunResult result = runWhirlpane(arguments, folder.path());
  EXPECT_EQ(result.out, out);
  EXPECT_EQ(result.err, err);
  EXPECT_EQ(result.status, 1);
  EXPECT_TRUE(TestSupport::workingFilesIn(folder.path()).empty());
  // With every file converted, the status is 0.
  EXPECT_EQ(runWhirlpane({"--convert", "a.jpg", "b.png", "--to", "tiff"}, folder.path()).status, 0);
}

// Each signal a user or session sends to stop a conversion removes its working files.
TEST(WhirlpaneCli, APoliteStopRemovesEveryWorkingFile) {
  ScratchFolder folder;
  const fs::path source = folder / "large.png";
  TestSupport::saveImage(TestSupport::noisePicture(4000, 3000), source, "[compression=1]");
  for (int signal : {SIGINT, SIGTERM, SIGHUP}) {
    SCOPED_TRACE(strsignal(signal));
    const pid_t pid = TestSupport::startWhirlpane({"--convert", source.string(), "--to", "avif"});
    for (int i = 0; i < 6000 && TestSupport::workingFilesIn(folder.path()).empty(); ++i)
      ::usleep(5'000);
    EXPECT_FALSE(TestSupport::workingFilesIn(folder.path()).empty()) << "no conversion started";
    ::kill(pid, signal);
    EXPECT_EQ(TestSupport::waitFor(pid), 128 + signal);
    EXPECT_EQ(TestSupport::listFolder(folder.path()), std::vector<std::string>{"large.png"});
  }
}

}  // namespace
}  // namespace Whirlpane
