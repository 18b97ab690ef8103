// The built program, run as a user runs it.
#include <glib.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <map>
#include <set>
#include <sstream>
#include <thread>

#include "tests/support/test_support.h"
#include "tests/support/text_fixtures.h"

namespace {

using TestSupport::RunResult;
using TestSupport::runWhirlpane;
using TestSupport::ScratchFolder;
using vips::VImage;
namespace fs = std::filesystem;

const std::string usage = "Usage: whirlpane --convert /path/to/file --to png\n";

TEST(WhirlpaneCli, ModesAnswerWithTheirStreamsAndStatuses) {
  ScratchFolder folder;
  TestSupport::saveImage(TestSupport::testPicture(20, 10), folder / "a.png");
  struct Case {
    std::vector<std::string> arguments;
    int status;
    std::string out;
    std::string err;
  };
  const std::vector<Case> cases{
      {{"--version"}, 0, "Whirlpane 1.1.0\n", ""},
      {{"--convert", "a.png"}, 2, "", usage},
      {{"--convert", "a.png", "--to"}, 2, "", usage},
      {{"--convert"}, 2, "", usage},
      {{"--version", "--convert", "a.png"}, 2, "", usage},
      {{"--convert", "a.png", "--to", "gif"}, 1, "", "GIF is not a supported output format.\n"},
      {{"--convert", "--to", "png"},
       1,
       "",
       "Could not open \"" + (folder / "--to").string() + "\": No such file or directory\n"},
      // Text recognition runs and finds nothing, without a word of its own on the terminal.
      {{"--convert", "a.png", "--to", "txt"}, 1, "", "No readable text was found in this file.\n"},
  };
  for (const Case& c : cases) {
    const RunResult result = runWhirlpane(c.arguments, folder.path());
    std::string shown;
    for (const auto& a : c.arguments) shown += " " + a;
    EXPECT_EQ(result.status, c.status) << shown;
    EXPECT_EQ(result.out, c.out) << shown;
    EXPECT_EQ(result.err, c.err) << shown;
  }
  EXPECT_EQ(TestSupport::listFolder(folder.path()), std::vector<std::string>{"a.png"});
}

TEST(WhirlpaneCli, HelpAndApplicationMode) {
  const RunResult help = runWhirlpane({"--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_TRUE(help.out.starts_with(usage));
  EXPECT_NE(help.out.find("Output formats: png jpg webp heic tiff avif bmp pdf docx txt"),
            std::string::npos);
  EXPECT_EQ(help.err, "");

  // Without any display the desktop program says so in one line and points
  // to the command line.
  int status = -1;
  const std::string said =
      TestSupport::shell("env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM " +
                             TestSupport::quoted(WHIRLPANE_BINARY) + " 2>&1 >/dev/null",
                         &status);
  EXPECT_EQ(status, 1);
  EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
  EXPECT_NE(said.find("needs a graphical desktop"), std::string::npos) << said;
  EXPECT_NE(said.find("whirlpane --convert FILE --to FORMAT"), std::string::npos) << said;
}

TEST(WhirlpaneCli, StartsWithoutLinkingTheCodecs) {
  // Only a conversion may pay for loading libvips and its codecs, and only the
  // desktop application for Qt.
  const std::string libraries = TestSupport::shell(std::string("ldd ") + WHIRLPANE_BINARY);
  EXPECT_EQ(libraries.find("libvips"), std::string::npos) << libraries;
  EXPECT_EQ(libraries.find("libheif"), std::string::npos) << libraries;
  EXPECT_EQ(libraries.find("libQt"), std::string::npos) << libraries;
}

TEST(WhirlpaneCli, ConvertsRelativePathsAndPrintsAbsoluteOnes) {
  ScratchFolder folder;
  fs::create_directory(folder / "sub");
  TestSupport::saveImage(TestSupport::testPicture(30, 20), folder / "sub" / "My Photo.jpg");
  const RunResult first =
      runWhirlpane({"--to", "PNG", "--convert", "./sub/My Photo.jpg"}, folder.path());
  EXPECT_EQ(first.status, 0) << first.err;
  EXPECT_EQ(first.out, (folder / "sub" / "My Photo.png").string() + "\n");
  EXPECT_EQ(first.err, "");
  const RunResult second =
      runWhirlpane({"--convert", "sub/My Photo.jpg", "--to", ".jpeg"}, folder.path());
  EXPECT_EQ(second.out, (folder / "sub" / "My Photo 2.jpg").string() + "\n");
  EXPECT_EQ(TestSupport::loadWithVips(folder / "sub" / "My Photo.png").width(), 30);
}

TEST(WhirlpaneCli, EveryKindOfSourceConvertsToEveryKindOfOutput) {
  ScratchFolder folder;
  TestSupport::saveImage(TestSupport::textPicture({"Picture words"}), folder / "picture.png");
  TestSupport::writePDF(folder / "report.pdf", {{{"Report words"}, {}}});
  TestSupport::writeFile(folder / "notes.txt", "Notes words\r\n");
  TestSupport::writeDocx(
      folder / "letter.docx",
      TestSupport::wordDocument("<w:p><w:r><w:t>Letter words</w:t></w:r></w:p>"));
  // What `file` says each output is.
  const std::map<std::string, std::string> kinds{{"jpg", "JPEG image data"},
                                                 {"webp", "Web/P image"},
                                                 {"pdf", "PDF document"},
                                                 {"docx", "Microsoft Word 2007+"},
                                                 {"txt", "text"}};
  for (const char* source : {"picture.png", "report.pdf", "notes.txt", "letter.docx"}) {
    for (const auto& [format, kind] : kinds) {
      const RunResult result = runWhirlpane({"--convert", source, "--to", format}, folder.path());
      const std::string shown = std::string(source) + " to " + format;
      EXPECT_EQ(result.status, 0) << shown << ": " << result.err;
      EXPECT_EQ(result.err, "") << shown;
      ASSERT_FALSE(result.out.empty()) << shown;
      const std::string output = result.out.substr(0, result.out.find('\n'));
      EXPECT_NE(TestSupport::shell("file -b " + TestSupport::quoted(output)).find(kind),
                std::string::npos)
          << shown;
      if (format == "txt") {
        EXPECT_NE(TestSupport::readFile(output).find("words"), std::string::npos) << shown;
      }
      if (format == "docx") {
        // A picture goes into the document as a picture; everything else as its text.
        const std::string document =
            TestSupport::shell("unzip -p " + TestSupport::quoted(output) + " word/document.xml");
        const bool picture = std::string(source) == "picture.png";
        EXPECT_NE(document.find(picture ? "<w:drawing>" : "words</w:t>"), std::string::npos)
            << shown;
      }
    }
  }
}

TEST(WhirlpaneCli, FileOperationsPrintWhatTheyFoundOrWrote) {
  ScratchFolder folder;
  vips::VImage picture = TestSupport::noisePicture(120, 80).copy();
  picture.set("png-comment-0-Note", "tab\there\nnext line");
  TestSupport::saveImage(picture, folder / "note.png");
  TestSupport::saveImage(TestSupport::noisePicture(120, 80), folder / "photo.jpg", "[Q=95]");
  TestSupport::writePDF(folder / "doc.pdf", {{{"Words"}, {}}});

  RunResult result = runWhirlpane({"--metadata", "note.png"}, folder.path());
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_TRUE(result.out.starts_with("File\tnote.png\nFormat\tPNG\nSize\t")) << result.out;
  EXPECT_NE(result.out.find("\nPNG \u00b7 Note\ttab\\there\\nnext line\n"), std::string::npos)
      << result.out;
  EXPECT_NE(result.out.find("\nDimensions\t120 \u00d7 80 px\n"), std::string::npos);

  result = runWhirlpane({"--compress", "photo.jpg", "--quality", "0.3"}, folder.path());
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.out, (folder / "photo-compressed.jpg").string() + "\n");
  result = runWhirlpane({"--strip", "photo.jpg"}, folder.path());
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.out, (folder / "photo-clean.jpg").string() + "\n");

  struct Case {
    std::vector<std::string> arguments;
    int status;
    std::string err;
  };
  const std::vector<Case> failures{
      {{"--compress", "photo.jpg", "--quality", "0.5x"},
       1,
       "Quality must be a finite number between 0 and 1.\n"},
      {{"--compress", "photo.jpg", "--quality", "2"},
       1,
       "Quality must be a finite number between 0 and 1.\n"},
      {{"--compress", "photo.jpg", "--quality", "1"},
       1,
       "This file could not be made smaller with these settings. The original was kept.\n"},
      {{"--compress", "photo.jpg"}, 2, "Usage: whirlpane --compress /path/to/file --quality 0.6\n"},
      {{"--strip"}, 2, "Usage: whirlpane --strip /path/to/file\n"},
      {{"--metadata"}, 2, "Usage: whirlpane --metadata /path/to/file\n"},
      {{"--strip", "doc.pdf"},
       1,
       "Metadata removal currently supports images. PDF and document metadata require "
       "document-specific "
       "sanitization.\n"},
      {{"--metadata", "missing.jpg"},
       1,
       "Could not read \"" + (folder / "missing.jpg").string() + "\": No such file or directory\n"},
  };
  const auto before = TestSupport::listFolder(folder.path());
  for (const Case& c : failures) {
    result = runWhirlpane(c.arguments, folder.path());
    EXPECT_EQ(result.status, c.status) << c.arguments[0];
    EXPECT_EQ(result.out, "") << c.arguments[0];
    EXPECT_EQ(result.err, c.err) << c.arguments[0];
  }
  EXPECT_EQ(TestSupport::listFolder(folder.path()), before);
}

TEST(WhirlpaneCli, OutputsAreNoMoreOpenThanTheirSource) {
  ScratchFolder folder;
  const mode_t saved = ::umask(022);
  TestSupport::saveImage(TestSupport::noisePicture(120, 80), folder / "private.jpg", "[Q=95]");
  TestSupport::writePDF(folder / "shared.pdf", {{{"One"}, {}}, {{"Two"}, {}}});
  fs::permissions(folder / "private.jpg", fs::perms::owner_read | fs::perms::owner_write);
  fs::permissions(folder / "shared.pdf",
                  fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  struct Case {
    std::vector<std::string> arguments;
    std::string mode;  // as stat prints it
  };
  const std::vector<Case> cases{
      {{"--convert", "private.jpg", "--to", "png"}, "600"},
      {{"--convert", "shared.pdf", "--to", "jpg"}, "640"},  // one file per page
      {{"--convert", "shared.pdf", "--to", "txt"}, "640"},
      {{"--compress", "private.jpg", "--quality", "0.3"}, "600"},
      {{"--strip", "private.jpg"}, "600"},
  };
  for (const Case& c : cases) {
    const RunResult result = runWhirlpane(c.arguments, folder.path());
    ASSERT_EQ(result.status, 0) << c.arguments[0] << ": " << result.err;
    std::string outputs, expected;
    for (size_t at = 0, end; (end = result.out.find('\n', at)) != std::string::npos; at = end + 1) {
      outputs += " " + TestSupport::quoted(result.out.substr(at, end - at));
      expected += c.mode + "\n";
    }
    EXPECT_EQ(TestSupport::shell("stat -c %a" + outputs), expected) << result.out;
  }
  ::umask(saved);
}

TEST(WhirlpaneCli, ASourceNamedNearTheLimitGetsShortenedOutputNames) {
  ScratchFolder folder;
  // 255 bytes with ".jpg": two-byte characters, so that some cuts would land
  // inside one.
  std::string base = "Ferienfoto am Strand ";
  while (base.size() + 2 + 4 <= 255) base += "\u00e9";
  const std::string source = base + ".jpg";
  TestSupport::saveImage(TestSupport::noisePicture(60, 40), folder / source, "[Q=95]");
  const std::vector<std::vector<std::string>> operations{
      {"--convert", source, "--to", "png"},
      {"--convert", source, "--to", "png"},
      {"--convert", source, "--to", "tiff"},
      {"--strip", source},
      {"--strip", source},
      {"--compress", source, "--quality", "0.3"},
  };
  std::set<std::string> names;
  for (const auto& arguments : operations) {
    const RunResult result = runWhirlpane(arguments, folder.path());
    ASSERT_EQ(result.status, 0) << arguments[0] << " " << arguments.back() << ": " << result.err;
    const std::string name = fs::path(result.out.substr(0, result.out.size() - 1)).filename();
    EXPECT_LE(name.size(), 255u) << name;
    EXPECT_TRUE(g_utf8_validate(name.data(), static_cast<gssize>(name.size()), nullptr)) << name;
    EXPECT_TRUE(name.starts_with("Ferienfoto am Strand \u00e9")) << name;
    EXPECT_EQ(TestSupport::loadWithVips(folder / name).width(), 60) << name;
    names.insert(name);
  }
  EXPECT_EQ(names.size(), operations.size());
}

// The resolution `image` states, in dots per inch, as exiftool reads it from
// the format's own fields; 0 when it states none.
double statedDPI(const fs::path& image) {
  std::istringstream lines(TestSupport::shell(
      "exiftool -n -s -G0 -XResolution -ResolutionUnit -PixelsPerUnitX -PixelsPerMeterX " +
      TestSupport::quoted(image.string())));
  std::map<std::string, double> values;  // "JFIF ResolutionUnit" -> 1
  for (std::string group, tag, colon; lines >> group >> tag >> colon;) {
    lines >> values[group.substr(1, group.size() - 2) + " " + tag];
  }
  for (const char* perMetre : {"PNG PixelsPerUnitX", "File PixelsPerMeterX"}) {
    if (values.contains(perMetre)) return values[perMetre] * 0.0254;
  }
  // JFIF counts units from 1 (inch), EXIF and TIFF from 2; the next is centimetres.
  for (const auto& [group, inch] : {std::pair<std::string, double>{"JFIF", 1}, {"EXIF", 2}}) {
    if (values.contains(group + " XResolution")) {
      const double x = values[group + " XResolution"];
      return values[group + " ResolutionUnit"] == inch ? x : x * 2.54;
    }
  }
  return 0;
}

TEST(WhirlpaneCli, EveryOutputKeepsThePrintSize) {
  if (!TestSupport::haveTool("exiftool")) GTEST_SKIP() << "exiftool is not installed";
  ScratchFolder folder;
  const VImage picture = TestSupport::noisePicture(120, 80).copy(
      VImage::option()->set("xres", 72 / 25.4)->set("yres", 72 / 25.4));
  TestSupport::saveImage(picture, folder / "print.jpg", "[Q=95]");  // stated in its EXIF data
  TestSupport::saveImage(picture, folder / "print.tiff");
  TestSupport::writePDF(folder / "page.pdf", {{{"Page"}, {}}});
  struct Case {
    std::vector<std::string> arguments;
    double dpi;
  };
  const std::vector<Case> cases{
      {{"--convert", "print.jpg", "--to", "png"}, 72},
      {{"--convert", "print.jpg", "--to", "tiff"}, 72},
      {{"--convert", "print.jpg", "--to", "jpg"}, 72},
      {{"--convert", "print.jpg", "--to", "bmp"}, 72},
      {{"--strip", "print.jpg"}, 72},
      {{"--compress", "print.jpg", "--quality", "0.3"}, 72},
      {{"--strip", "print.tiff"}, 72},
      {{"--convert", "page.pdf", "--to", "jpg"}, 300},  // rendered at 300 dots per inch
  };
  for (const Case& c : cases) {
    const RunResult result = runWhirlpane(c.arguments, folder.path());
    ASSERT_EQ(result.status, 0) << c.arguments[0] << ": " << result.err;
    const fs::path output = result.out.substr(0, result.out.size() - 1);
    EXPECT_NEAR(statedDPI(output), c.dpi, 0.05) << output.filename();
  }
}

TEST(WhirlpaneCli, APanoramaTooWideForTheFormatIsRefusedBeforeEncoding) {
  ScratchFolder folder;
  TestSupport::saveImage(TestSupport::testPicture(16385, 64), folder / "wide.png");
  TestSupport::saveImage(TestSupport::testPicture(16384, 64), folder / "limit.png");
  struct Case {
    std::string source, format, err;  // err empty: written, and readable
  };
  const std::vector<Case> cases{
      {"wide.png", "heic",
       "HEIC images can be at most 16384 pixels wide and high; this one is 16385 \u00d7 64.\n"},
      {"wide.png", "avif",
       "AVIF images can be at most 16384 pixels wide and high; this one is 16385 \u00d7 64.\n"},
      {"limit.png", "webp",
       "WEBP images can be at most 16383 pixels wide and high; this one is 16384 \u00d7 64.\n"},
      {"limit.png", "heic", ""},
      {"limit.png", "avif", ""},
  };
  for (const Case& c : cases) {
    const RunResult result = runWhirlpane({"--convert", c.source, "--to", c.format}, folder.path());
    EXPECT_EQ(result.err, c.err) << c.source << " to " << c.format;
    EXPECT_EQ(result.status, c.err.empty() ? 0 : 1) << c.source << " to " << c.format;
    if (c.err.empty()) {
      int status = 0;
      const std::string header = TestSupport::shell(
          "vipsheader " + TestSupport::quoted(result.out.substr(0, result.out.size() - 1)),
          &status);
      EXPECT_EQ(status, 0) << c.format << ": " << header;
    } else {
      EXPECT_EQ(result.out, "");
    }
  }
  EXPECT_EQ(TestSupport::listFolder(folder.path()),
            (std::vector<std::string>{"limit.avif", "limit.heic", "limit.png", "wide.png"}));
}

TEST(WhirlpaneCli, APyramidalTiffIsOnePicture) {
  ScratchFolder folder;
  // A scan stored with its reduced copies as further pages, as slide and map
  // scanners write them.
  TestSupport::saveImage(TestSupport::testPicture(1024, 768), folder / "slide.tif",
                         "[pyramid,tile,compression=jpeg]");
  ASSERT_EQ(TestSupport::shell("vipsheader -f n-pages " + (folder / "slide.tif").string()), "4\n");
  RunResult result = runWhirlpane({"--convert", "slide.tif", "--to", "png"}, folder.path());
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_NE(TestSupport::shell("vipsheader " + (folder / "slide.png").string()).find(": 1024x768 "),
            std::string::npos);
  result = runWhirlpane({"--strip", "slide.tif"}, folder.path());
  EXPECT_EQ(result.status, 0) << result.err;
  result = runWhirlpane({"--metadata", "slide.tif"}, folder.path());
  EXPECT_NE(result.out.find("\nFrames\t1\n"), std::string::npos) << result.out;
}

TEST(WhirlpaneCli, MetadataReadsBackAsWrittenAndTrustsTheContentOverTheName) {
  ScratchFolder folder;
  vips::VImage picture = TestSupport::testPicture(40, 30).copy();
  picture.set("png-comment-0-Folder", "C:\\new\\table");
  TestSupport::saveImage(picture, folder / "saved.png");
  fs::copy_file(folder / "saved.png", folder / "renamed.jpg");  // a PNG under a JPEG name
  std::string noise(5000, '\0');
  for (size_t i = 0; i < noise.size(); ++i) noise[i] = static_cast<char>((i * 7919 + 13) % 251);
  TestSupport::writeFile(folder / "noise.jpg", noise);
  struct Case {
    std::string file, line;  // a line the listing must hold
  };
  const std::vector<Case> cases{
      {"saved.png", "\nPNG \u00b7 Folder\tC:\\\\new\\\\table\n"},
      {"saved.png", "\nContent type\timage/png\n"},
      {"renamed.jpg", "\nContent type\timage/png\n"},
      {"noise.jpg", "\nContent type\tapplication/octet-stream\n"},
  };
  for (const Case& c : cases) {
    const RunResult result = runWhirlpane({"--metadata", c.file}, folder.path());
    EXPECT_EQ(result.status, 0) << c.file << ": " << result.err;
    EXPECT_NE(result.out.find(c.line), std::string::npos) << c.file << ":\n" << result.out;
  }
}

TEST(WhirlpaneCli, MetadataOfAFileItsUserMayNotReadFails) {
  ScratchFolder folder;
  const fs::path secret = folder / "secret.jpg";
  TestSupport::saveImage(TestSupport::testPicture(40, 30), secret);
  fs::permissions(secret, fs::perms::owner_read | fs::perms::owner_write);
  fs::permissions(folder.path(), fs::perms::others_exec, fs::perm_options::add);
  std::string command =
      std::string(WHIRLPANE_BINARY) + " --metadata " + TestSupport::quoted(secret.string());
  // Root reads anything; run the program as an unprivileged user then, if that
  // user can reach the built program at all.
  if (::geteuid() == 0) {
    const std::string asNobody = "setpriv --reuid=nobody --regid=nogroup --clear-groups ";
    const std::string probe = TestSupport::shell(asNobody + WHIRLPANE_BINARY + " --version");
    if (!probe.starts_with("Whirlpane")) {
      GTEST_SKIP() << "an unprivileged user cannot run " << WHIRLPANE_BINARY << ": " << probe;
    }
    command = asNobody + command;
  }
  int status = 0;
  const std::string output = TestSupport::shell(command + " 2>&1", &status);
  EXPECT_EQ(status, 1);
  EXPECT_EQ(output, "Could not read \"" + secret.string() + "\": Permission denied\n");
}

TEST(WhirlpaneCli, OutputsCarryNoneOfTheSourcesMetadata) {
  if (!TestSupport::haveTool("exiftool")) GTEST_SKIP() << "exiftool is not installed";
  ScratchFolder folder;
  const fs::path source = folder / "tagged.jpg";
  VImage picture = TestSupport::testPicture(64, 48).copy();
  picture.set(VIPS_META_ORIENTATION, 6);
  TestSupport::saveImage(picture, source);
  int status = 0;
  TestSupport::shell(
      "exiftool -q -overwrite_original -Make=Acme -Model=Snap -GPSLatitude=51.5 -GPSLatitudeRef=N "
      "-XMP:Creator=Someone -IPTC:Keywords=secret -Comment=hello " +
          TestSupport::quoted(source.string()),
      &status);
  ASSERT_EQ(status, 0);
  ASSERT_NE(TestSupport::shell("exiftool -G " + TestSupport::quoted(source.string())).find("Acme"),
            std::string::npos);
  for (const char* format : {"png", "jpg", "webp", "heic", "tiff", "avif", "bmp"}) {
    const RunResult result = runWhirlpane({"--convert", source.string(), "--to", format});
    ASSERT_EQ(result.status, 0) << format << ": " << result.err;
    const std::string output = result.out.substr(0, result.out.size() - 1);
    const std::string tags = TestSupport::shell("exiftool -G -s " + TestSupport::quoted(output));
    for (const char* leak :
         {"Acme", "Snap", "GPS", "[XMP", "[IPTC", "Someone", "secret", "hello", "MakerNote"}) {
      EXPECT_EQ(tags.find(leak), std::string::npos) << format << " keeps " << leak << ":\n" << tags;
    }
    // Upright: the quarter turn is applied, so the sides are exchanged.
    const std::string size =
        TestSupport::shell("exiftool -s3 -ImageSize " + TestSupport::quoted(output));
    EXPECT_EQ(size, "48x64\n") << format;
  }
}

// Waits until `folder` holds a batch folder, for at most `limit`.
bool waitForBatchFolder(const fs::path& folder, std::chrono::seconds limit) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  while (std::chrono::steady_clock::now() < deadline) {
    for (const std::string& name : TestSupport::workingFilesIn(folder)) {
      if (name.starts_with(".whirlpane-batch-")) return true;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return false;
}

TEST(WhirlpaneCli, APoliteStopRemovesEveryWorkingFile) {
  ScratchFolder folder;
  const fs::path source = folder / "large.png";
  // Noise that takes AVIF encoding a couple of seconds.
  TestSupport::saveImage(TestSupport::noisePicture(4000, 3000), source, "[compression=1]");
  for (int signal : {SIGINT, SIGTERM, SIGHUP}) {
    const pid_t pid = TestSupport::startWhirlpane({"--convert", source.string(), "--to", "avif"});
    ASSERT_TRUE(waitForBatchFolder(folder.path(), std::chrono::seconds(30)))
        << "no conversion started";
    ::kill(pid, signal);
    EXPECT_EQ(TestSupport::waitFor(pid), 128 + signal) << strsignal(signal);
    EXPECT_EQ(TestSupport::listFolder(folder.path()), std::vector<std::string>{"large.png"})
        << strsignal(signal);
  }
}

TEST(WhirlpaneCli, APoliteStopAlsoStopsTheExternalEncoder) {
  ScratchFolder folder, temporary;
  const fs::path source = folder / "large.png";
  // Noise that avifenc works on for many seconds.
  TestSupport::saveImage(TestSupport::noisePicture(4000, 3000), source, "[compression=1]");
  ::setenv("WHIRLPANE_NO_NATIVE_ENCODERS", "avif", 1);
  ::setenv("TMPDIR", temporary.path().c_str(), 1);
  const pid_t pid = TestSupport::startWhirlpane({"--convert", source.string(), "--to", "avif"});
  ::unsetenv("WHIRLPANE_NO_NATIVE_ENCODERS");
  ::unsetenv("TMPDIR");
  // Wait until the encoder runs: its command line names our temporary area.
  // ("[a]vifenc" keeps the pattern from matching the shell that runs pgrep.)
  bool running = false;
  for (int i = 0; i < 3000 && !running; ++i) {
    running = TestSupport::shell("pgrep -f -- " +
                                 TestSupport::quoted("[a]vifenc.*" + temporary.path().string()) +
                                 " >/dev/null && echo yes") == "yes\n";
    if (!running) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  ASSERT_TRUE(running) << "the external encoder never started";
  ::kill(pid, SIGINT);
  EXPECT_EQ(TestSupport::waitFor(pid), 128 + SIGINT);
  // SIGKILL was sent before the program ended; give the system a moment to
  // carry it out, far less than the encoder would need to finish on its own.
  std::string left;
  for (int i = 0; i < 200; ++i) {
    left = TestSupport::shell("pgrep -f -- " +
                              TestSupport::quoted("[a]vifenc.*" + temporary.path().string()) +
                              " || true");
    if (left.empty()) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  EXPECT_EQ(left, "") << "the encoder outlived the program";
  EXPECT_TRUE(TestSupport::listFolder(temporary.path()).empty());
  EXPECT_EQ(TestSupport::listFolder(folder.path()), std::vector<std::string>{"large.png"});
}

TEST(WhirlpaneCli, ManyProcessesConvertingOneFileOverwriteNothing) {
  ScratchFolder folder;
  const fs::path source = folder / "shared.jpg";
  TestSupport::saveImage(TestSupport::testPicture(48, 32), source);
  constexpr int processes = 8, each = 25;
  std::vector<std::vector<std::string>> printed(processes);
  std::vector<std::thread> runners;
  for (int p = 0; p < processes; ++p) {
    runners.emplace_back([&, p] {
      for (int i = 0; i < each; ++i) {
        const RunResult result = runWhirlpane({"--convert", source.string(), "--to", "png"});
        if (result.status == 0) printed[p].push_back(result.out);
      }
    });
  }
  for (auto& runner : runners) runner.join();
  std::set<std::string> distinct;
  for (const auto& lines : printed) distinct.insert(lines.begin(), lines.end());
  EXPECT_EQ(distinct.size(), static_cast<size_t>(processes * each));
  const auto names = TestSupport::listFolder(folder.path());
  EXPECT_EQ(names.size(), static_cast<size_t>(processes * each + 1));
  EXPECT_TRUE(TestSupport::workingFilesIn(folder.path()).empty());
  for (const std::string& name : names) {
    EXPECT_EQ(TestSupport::loadWithVips(folder / name).height(), 32) << name;
  }
}

TEST(WhirlpaneCli, AReadOnlyFolderFailsBeforeAnyWork) {
  ScratchFolder folder;
  const fs::path locked = folder / "locked";
  fs::create_directory(locked);
  TestSupport::saveImage(TestSupport::testPicture(20, 20), locked / "a.jpg");
  fs::permissions(locked, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                              fs::perms::group_exec | fs::perms::others_read |
                              fs::perms::others_exec);
  fs::permissions(folder.path(), fs::perms::others_exec | fs::perms::others_read,
                  fs::perm_options::add);
  std::string command = std::string(WHIRLPANE_BINARY) + " --convert " +
                        TestSupport::quoted((locked / "a.jpg").string()) + " --to png 2>&1";
  // Root writes anywhere; run the program as an unprivileged user then, if
  // that user can reach the built program at all (a checkout in a private
  // folder hides it).
  if (::geteuid() == 0) {
    const std::string asNobody = "setpriv --reuid=nobody --regid=nogroup --clear-groups ";
    const std::string probe = TestSupport::shell(asNobody + WHIRLPANE_BINARY +
                                                 " --convert /nonexistent.png --to png 2>&1");
    if (!probe.starts_with("Could not open")) {
      GTEST_SKIP() << "an unprivileged user cannot run " << WHIRLPANE_BINARY << ": " << probe;
    }
    command = asNobody + command;
  }
  int status = 0;
  const std::string output = TestSupport::shell(command, &status);
  EXPECT_EQ(status, 1);
  EXPECT_EQ(output, "Could not create a working folder in \"" + locked.string() +
                        "\": Permission denied\n");
  EXPECT_EQ(TestSupport::listFolder(locked), std::vector<std::string>{"a.jpg"});
}

}  // namespace
