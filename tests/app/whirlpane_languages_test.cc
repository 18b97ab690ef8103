// SPDX-License-Identifier: GPL-3.0-or-later
// The built program in its users' languages: an engine failure and the command
// line's own usage line in the language the locale names, English under the C
// locale; and what programs read and type (the metadata listing, numbers
// given as options) the same in every locale.
#include <gtest/gtest.h>

#include "tests/support/test_support.h"

namespace {

namespace fs = std::filesystem;
using TestSupport::ScratchFolder;
using TestSupport::shell;

struct Outcome {
  int status = -1;
  std::string out;
  std::string err;
};

// Runs the built program in `folder` with `environment` ("NAME=value ...")
// as its whole environment besides PATH, so that the caller's locale settings
// play no part.
Outcome run(const std::string& environment, const std::vector<std::string>& arguments,
            const fs::path& folder) {
  const ScratchFolder streams;
  std::string command = "cd " + TestSupport::quoted(folder.string()) +
                        " && env -i PATH=/usr/bin:/bin " + environment + " " +
                        TestSupport::quoted(WHIRLPANE_BINARY);
  for (const std::string& argument : arguments) command += " " + TestSupport::quoted(argument);
  command += " 2>" + TestSupport::quoted((streams / "err").string());
  Outcome outcome;
  outcome.out = shell(command, &outcome.status);
  outcome.err = TestSupport::readFile(streams / "err");
  return outcome;
}

void requireGermanLocale() {
  ASSERT_NE(shell("locale -a").find("de_DE.utf8\n"), std::string::npos)
      << "de_DE.UTF-8 is not installed here; scripts/install-deps --test makes it";
}

TEST(WhirlpaneLanguages, FailuresAndUsageSpeakTheLanguageTheLocaleNames) {
  requireGermanLocale();
  ScratchFolder folder;
  TestSupport::writeFile(folder / "damaged.png", "no picture at all");
  const std::vector<std::string> convertDamaged{"--convert", "damaged.png", "--to", "jpg"};
  const std::string english =
      "Could not read damaged.png. The file may be damaged or unsupported.\n";
  const std::string german =
      "damaged.png konnte nicht gelesen werden. Die Datei ist möglicherweise beschädigt oder "
      "wird nicht unterstützt.\n";
  const std::string missing = (folder / "missing.png").string();
  const fs::path runtime = folder / "runtime";  // the desktop program's, private
  fs::create_directory(runtime);
  fs::permissions(runtime, fs::perms::owner_all);
  struct Case {
    std::string environment;
    std::vector<std::string> arguments;
    int status;
    std::string err;
  };
  const std::vector<Case> cases{
      // glibc reads LANGUAGE only under a locale other than C.
      {"LC_ALL=C LANGUAGE=de", convertDamaged, 1, english},
      {"LANG=de_DE.UTF-8", convertDamaged, 1, german},
      {"LC_ALL=C.UTF-8 LANGUAGE=de", convertDamaged, 1, german},
      // Messages follow LC_MESSAGES, not the rest of the locale.
      {"LANG=de_DE.UTF-8 LC_MESSAGES=C", convertDamaged, 1, english},
      // The file system's reason comes in German too, from the C library.
      {"LANG=de_DE.UTF-8",
       {"--convert", "missing.png", "--to", "jpg"},
       1,
       "„" + missing + "“ konnte nicht geöffnet werden: Datei oder Verzeichnis nicht gefunden\n"},
      // The command line's own words; its options stay as they are.
      {"LANG=de_DE.UTF-8",
       {"--convert", "damaged.png"},
       2,
       "Aufruf: whirlpane --convert /path/to/file… --to png\n"},
      // LANGUAGE chooses over the locale; each shipped catalogue is found.
      {"LANG=de_DE.UTF-8 LANGUAGE=fr", convertDamaged, 1,
       "Impossible de lire damaged.png. Le fichier est peut-être endommagé ou n’est pas pris en "
       "charge.\n"},
      {"LC_ALL=C.UTF-8 LANGUAGE=es", convertDamaged, 1,
       "No se pudo leer damaged.png. Es posible que el archivo esté dañado o no sea "
       "compatible.\n"},
      {"LC_ALL=C.UTF-8 LANGUAGE=pt_BR", convertDamaged, 1,
       "Não foi possível ler damaged.png. O arquivo pode estar danificado ou não ser "
       "compatível.\n"},
      {"LC_ALL=C.UTF-8 LANGUAGE=zh_CN", convertDamaged, 1,
       "无法读取“damaged.png”。该文件可能已损坏或不受支持。\n"},
      {"LC_ALL=C.UTF-8 LANGUAGE=ja", convertDamaged, 1,
       "「damaged.png」を読み込めませんでした。ファイルが破損しているか、対応していない形式の"
       "可能性があります。\n"},
      // The desktop program refuses a request it cannot carry out in the same
      // language, before anything shows.
      {"LANG=de_DE.UTF-8 QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR=" + runtime.string(),
       {"--to", "txt", "damaged.png"},
       2,
       "„damaged.png“ kann nicht in TXT umgewandelt werden.\n"},
      // A language without a catalogue falls back to English.
      {"LC_ALL=C.UTF-8 LANGUAGE=nl", convertDamaged, 1, english},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.environment + " " + c.arguments[1]);
    const Outcome outcome = run(c.environment, c.arguments, folder.path());
    EXPECT_EQ(outcome.status, c.status);
    EXPECT_EQ(outcome.err, c.err);
    EXPECT_EQ(outcome.out, "");
  }
}

TEST(WhirlpaneLanguages, NumbersAndTheMetadataListingReadAlikeInEveryLocale) {
  requireGermanLocale();
  ScratchFolder folder;
  // 3 pixels per millimetre: 76.2 dpi, a number with a decimal point.
  TestSupport::saveImage(TestSupport::testPicture(300, 200).copy(
                             vips::VImage::option()->set("xres", 3.0)->set("yres", 3.0)),
                         folder / "scan.jpg", "[Q=100]");
  const std::string german = "LC_ALL=de_DE.UTF-8 LANGUAGE=de";
  const Outcome listing = run("LC_ALL=C", {"--metadata", "scan.jpg"}, folder.path());
  ASSERT_EQ(listing.status, 0) << listing.err;
  EXPECT_NE(listing.out.find("\nDPIWidth\t76.2\n"), std::string::npos) << listing.out;
  const Outcome germanListing = run(german, {"--metadata", "scan.jpg"}, folder.path());
  EXPECT_EQ(germanListing.status, 0) << germanListing.err;
  EXPECT_EQ(germanListing.out, listing.out);

  // A quality is typed as programs write numbers, whatever the locale.
  const Outcome compressed =
      run(german, {"--compress", "scan.jpg", "--quality", "0.8"}, folder.path());
  EXPECT_EQ(compressed.status, 0) << compressed.err;
  EXPECT_EQ(compressed.out, (folder / "scan-compressed.jpg").string() + "\n");
  const Outcome comma = run(german, {"--compress", "scan.jpg", "--quality", "0,8"}, folder.path());
  EXPECT_EQ(comma.status, 1);
  EXPECT_EQ(comma.err, "Die Qualität muss eine endliche Zahl zwischen 0 und 1 sein.\n");
}

}  // namespace
