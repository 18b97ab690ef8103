// The built program, run as a user runs it.
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <functional>
#include <optional>
#include <thread>

#include "tests/support/test_support.h"
#include "tests/support/text_fixtures.h"

namespace {

using TestSupport::RunResult;
using TestSupport::runWhirlpane;
using TestSupport::ScratchFolder;
using TestSupport::shell;
using vips::VImage;
namespace fs = std::filesystem;

// `path` as one argument of a shell command.
std::string arg(const fs::path& path) { return TestSupport::quoted(path.string()); }

const std::string usage = "Usage: whirlpane --convert /path/to/file --to png\n";

TEST(WhirlpaneCli, EveryModeAnswersWithItsStreamsAndStatus) {
  ScratchFolder folder;
  TestSupport::saveImage(TestSupport::testPicture(20, 10), folder / "a.png");
  VImage noted = TestSupport::noisePicture(120, 80).copy();
  noted.set("png-comment-0-Note", "tab\there\nnext line");
  noted.set("png-comment-1-Folder", "C:\\new\\table");
  TestSupport::saveImage(noted, folder / "note.png");
  fs::copy_file(folder / "note.png", folder / "renamed.jpg");  // a PNG under a JPEG name
  std::string noise(5000, '\0');
  for (size_t i = 0; i < noise.size(); ++i) noise[i] = static_cast<char>((i * 7919 + 13) % 251);
  TestSupport::writeFile(folder / "noise.jpg", noise);
  TestSupport::saveImage(TestSupport::noisePicture(120, 80), folder / "photo.jpg", "[Q=95]");
  TestSupport::saveImage(TestSupport::testPicture(16385, 64), folder / "wide.png");
  TestSupport::saveImage(TestSupport::testPicture(16384, 64), folder / "limit.png");
  // A scan stored with its reduced copies as further pages, as slide scanners write them.
  TestSupport::saveImage(TestSupport::testPicture(1024, 768), folder / "slide.tif",
                         "[pyramid,tile,compression=jpeg]");
  const std::string most = " images can be at most ";
  const std::string wide = "16384 pixels wide and high; this one is 16385 \u00d7 64.\n";
  struct Case {
    std::vector<std::string> arguments;
    int status;
    std::string err;
    std::vector<std::string> out;  // the whole output, or lines it must hold ("\n...\n")
  };
  const std::vector<Case> cases{
      {{"--version"}, 0, "", {"Whirlpane 1.1.0\n"}},
      {{"--help"},
       0,
       "",
       {usage, "\nOutput formats: png jpg webp heic tiff avif bmp pdf docx txt"}},
      {{"--convert", "a.png"}, 2, usage, {""}},
      {{"--compress", "photo.jpg"},
       2,
       "Usage: whirlpane --compress /path/to/file --quality 0.6\n",
       {""}},
      {{"--convert", "a.png", "--to", "gif"}, 1, "GIF is not a supported output format.\n", {""}},
      {{"--convert", "--to", "png"},
       1,
       "Could not open \"" + (folder / "--to").string() + "\": No such file or directory\n",
       {""}},
      // Text recognition runs and finds nothing, without a word of its own on the terminal.
      {{"--convert", "a.png", "--to", "txt"},
       1,
       "No readable text was found in this file.\n",
       {""}},
      {{"--compress", "photo.jpg", "--quality", "0.5x"},
       1,
       "Quality must be a finite number between 0 and 1.\n",
       {""}},
      // Too wide for the format: refused before encoding.
      {{"--convert", "wide.png", "--to", "heic"}, 1, "HEIC" + most + wide, {""}},
      {{"--convert", "wide.png", "--to", "avif"}, 1, "AVIF" + most + wide, {""}},
      {{"--convert", "limit.png", "--to", "webp"},
       1,
       "WEBP" + most + "16383 pixels wide and high; this one is 16384 \u00d7 64.\n",
       {""}},
      // Values have backslashes, tabs and line breaks escaped; the content's type wins over the
      // name's.
      {{"--metadata", "note.png"},
       0,
       "",
       {"File\tnote.png\nFormat\tPNG\nSize\t", "\nPNG \u00b7 Note\ttab\\there\\nnext line\n",
        "\nPNG \u00b7 Folder\tC:\\\\new\\\\table\n", "\nDimensions\t120 \u00d7 80 px\n",
        "\nContent type\timage/png\n"}},
      {{"--metadata", "renamed.jpg"}, 0, "", {"\nContent type\timage/png\n"}},
      {{"--metadata", "noise.jpg"}, 0, "", {"\nContent type\tapplication/octet-stream\n"}},
      {{"--metadata", "slide.tif"}, 0, "", {"\nFrames\t1\n"}},
  };
  const auto before = TestSupport::listFolder(folder.path());
  for (const Case& c : cases) {
    SCOPED_TRACE(c.arguments[0] + " " + c.arguments.back());
    const RunResult result = runWhirlpane(c.arguments, folder.path());
    EXPECT_EQ(result.status, c.status);
    EXPECT_EQ(result.err, c.err);
    if (c.out.size() == 1 && !c.out[0].starts_with("\n")) {
      EXPECT_EQ(result.out, c.out[0]);
    }
    for (const std::string& part : c.out) {
      EXPECT_NE(result.out.find(part), std::string::npos) << part << " in:\n" << result.out;
    }
  }
  EXPECT_EQ(TestSupport::listFolder(folder.path()), before);
  // Without any display the desktop program says so in one line and points
  // to the command line.
  int status = -1;
  const std::string said = shell("env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM " +
                                     arg(WHIRLPANE_BINARY) + " 2>&1 >/dev/null",
                                 &status);
  EXPECT_EQ(status, 1);
  EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
  EXPECT_NE(said.find("needs a graphical desktop"), std::string::npos) << said;
  EXPECT_NE(said.find("whirlpane --convert FILE --to FORMAT"), std::string::npos) << said;
  // Only a conversion may pay for loading libvips and its codecs, and only the
  // desktop application for Qt.
  const std::string libraries = shell(std::string("ldd ") + WHIRLPANE_BINARY);
  for (const char* library : {"libvips", "libheif", "libQt"})
    EXPECT_EQ(libraries.find(library), std::string::npos) << libraries;
}

// Each operation prints the absolute path of every file it wrote; each output
// is no more open than its source (whatever the umask allows) and
// states the source's print size, a rendered PDF page 300 dots per inch.
TEST(WhirlpaneCli, OperationsPrintWhatTheyWroteKeepingModeAndPrintSize) {
  ScratchFolder folder;
  const mode_t saved = ::umask(022);
  fs::create_directory(folder / "sub");
  const VImage picture = TestSupport::noisePicture(120, 80).copy(
      VImage::option()->set("xres", 72 / 25.4)->set("yres", 72 / 25.4));
  TestSupport::saveImage(picture, folder / "sub" / "My Photo.jpg", "[Q=95]");
  TestSupport::saveImage(picture, folder / "print.tiff");
  TestSupport::writePDF(folder / "shared.pdf", {{{"One"}, {}}, {{"Two"}, {}}});
  fs::permissions(folder / "sub" / "My Photo.jpg", fs::perms::owner_read | fs::perms::owner_write);
  fs::permissions(folder / "shared.pdf",
                  fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  struct Case {
    std::vector<std::string> arguments;
    std::vector<std::string> written;
    std::string mode;
    double dpi;  // 0: not an image
  };
  const Case cases[] = {
      {{"--to", "PNG", "--convert", "./sub/My Photo.jpg"}, {"sub/My Photo.png"}, "600", 72},
      {{"--convert", "sub/My Photo.jpg", "--to", ".jpeg"}, {"sub/My Photo 2.jpg"}, "600", 72},
      {{"--convert", "sub/My Photo.jpg", "--to", "tiff"}, {"sub/My Photo.tiff"}, "600", 72},
      {{"--convert", "sub/My Photo.jpg", "--to", "bmp"}, {"sub/My Photo.bmp"}, "600", 72},
      {{"--compress", "sub/My Photo.jpg", "--quality", "0.3"},
       {"sub/My Photo-compressed.jpg"},
       "600",
       72},
      {{"--strip", "sub/My Photo.jpg"}, {"sub/My Photo-clean.jpg"}, "600", 72},
      {{"--strip", "print.tiff"}, {"print-clean.tiff"}, "644", 72},
      {{"--convert", "shared.pdf", "--to", "jpg"},
       {"shared-page-1.jpg", "shared-page-2.jpg"},
       "640",
       300},
      {{"--convert", "shared.pdf", "--to", "txt"}, {"shared.txt"}, "640", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.arguments[0] + " " + c.arguments[1]);
    const RunResult result = runWhirlpane(c.arguments, folder.path());
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.err, "");
    std::string printed;
    for (const std::string& name : c.written) {
      const std::string file = arg(folder / name);
      printed += (folder / name).string() + "\n";
      EXPECT_EQ(shell("stat -c %a " + file), c.mode + "\n");
      if (c.dpi > 0) {
        EXPECT_NEAR(std::stod(shell("vipsheader -f xres " + file)) * 25.4, c.dpi, 0.05);
      }
    }
    EXPECT_EQ(result.out, printed);
  }
  ::umask(saved);
}

// Root reads and writes anywhere, so the checks run as an unprivileged user
// where they can (a checkout in a private folder hides the program from one).
TEST(WhirlpaneCli, WhatItsUserMayNotReadOrWriteFailsBeforeAnyWork) {
  ScratchFolder folder;
  const fs::path secret = folder / "secret.jpg", locked = folder / "locked";
  TestSupport::saveImage(TestSupport::testPicture(40, 30), secret);
  fs::permissions(secret, fs::perms::owner_read | fs::perms::owner_write);
  fs::create_directory(locked);
  TestSupport::saveImage(TestSupport::testPicture(20, 20), locked / "a.jpg");
  fs::permissions(locked, fs::perms::all & ~(fs::perms::owner_write | fs::perms::group_write |
                                             fs::perms::others_write));
  fs::permissions(folder.path(), fs::perms::others_exec | fs::perms::others_read,
                  fs::perm_options::add);
  std::string user;
  if (::geteuid() == 0) {
    user = "setpriv --reuid=nobody --regid=nogroup --clear-groups ";
    if (!shell(user + WHIRLPANE_BINARY + " --version").starts_with("Whirlpane"))
      GTEST_SKIP() << "an unprivileged user cannot run " << WHIRLPANE_BINARY;
  }
  const std::pair<std::string, std::string> cases[] = {
      {" --metadata " + arg(secret),
       "Could not read \"" + secret.string() + "\": Permission denied\n"},
      {" --convert " + arg(locked / "a.jpg") + " --to png",
       "Could not create a working folder in \"" + locked.string() + "\": Permission denied\n"},
  };
  for (const auto& [arguments, message] : cases) {
    int status = 0;
    EXPECT_EQ(shell(user + WHIRLPANE_BINARY + arguments + " 2>&1", &status), message);
    EXPECT_EQ(status, 1);
  }
  EXPECT_EQ(TestSupport::listFolder(locked), std::vector<std::string>{"a.jpg"});
}

// Waits until `condition` holds, for at most `limit`.
bool waitUntil(const std::function<bool()>& condition,
               std::chrono::milliseconds limit = std::chrono::seconds(30)) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  while (!condition()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return true;
}

TEST(WhirlpaneCli, APoliteStopRemovesEveryWorkingFileAndStopsTheExternalEncoder) {
  ScratchFolder folder, temporary;
  const fs::path source = folder / "large.png";
  // Noise that takes AVIF encoding a couple of seconds, and avifenc many.
  TestSupport::saveImage(TestSupport::noisePicture(4000, 3000), source, "[compression=1]");
  for (int signal : {SIGINT, SIGTERM, SIGHUP}) {
    SCOPED_TRACE(strsignal(signal));
    const pid_t pid = TestSupport::startWhirlpane({"--convert", source.string(), "--to", "avif"});
    ASSERT_TRUE(waitUntil([&] { return TestSupport::workingFilesIn(folder.path()).size() > 0; }))
        << "no conversion started";
    ::kill(pid, signal);
    EXPECT_EQ(TestSupport::waitFor(pid), 128 + signal);
    EXPECT_EQ(TestSupport::listFolder(folder.path()), std::vector<std::string>{"large.png"});
  }
  ::setenv("WHIRLPANE_NO_NATIVE_ENCODERS", "avif", 1);
  ::setenv("TMPDIR", temporary.path().c_str(), 1);
  const pid_t pid = TestSupport::startWhirlpane({"--convert", source.string(), "--to", "avif"});
  ::unsetenv("WHIRLPANE_NO_NATIVE_ENCODERS");
  ::unsetenv("TMPDIR");
  // The encoder's command line names our temporary area. ("[a]vifenc" keeps
  // the pattern from matching the shell that runs pgrep.)
  const std::string encoder = "pgrep -f -- " +
                              TestSupport::quoted("[a]vifenc.*" + temporary.path().string()) +
                              " >/dev/null";
  ASSERT_TRUE(waitUntil([&] { return shell(encoder + " && echo yes") == "yes\n"; }))
      << "the external encoder never started";
  ::kill(pid, SIGINT);
  EXPECT_EQ(TestSupport::waitFor(pid), 128 + SIGINT);
  // SIGKILL was sent before the program ended; give the system a moment to
  // carry it out, far less than the encoder would need to finish on its own.
  EXPECT_TRUE(waitUntil([&] { return shell(encoder + " || echo gone") == "gone\n"; },
                        std::chrono::seconds(2)))
      << "the encoder outlived the program";
  EXPECT_TRUE(TestSupport::listFolder(temporary.path()).empty());
  EXPECT_EQ(TestSupport::listFolder(folder.path()), std::vector<std::string>{"large.png"});
}

}  // namespace
