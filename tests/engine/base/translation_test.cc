// SPDX-License-Identifier: GPL-3.0-or-later
// The engine's texts in the user's language: placeholders filled in whatever
// order a translation puts them, and the engine's own catalogue found beside
// it; and the built program in its users' languages: an engine failure and the
// command line's own usage line in the language the locale names, English
// under the C locale, while what programs read and type (the metadata
// listing, numbers given as options) reads the same in every locale.
#include "base/translation.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <clocale>
#include <cstdlib>
#include <functional>
#include <optional>
#include <string>

#include "tests/support/test_support.h"
#include "whirlpane/failure.h"

namespace MediaEngine {
namespace {

TEST(Translation, PlaceholdersAreFilledWhereverTheTextPutsThem) {
  struct Case {
    const char* pattern;
    std::initializer_list<std::string_view> values;
    std::string expected;
  };
  const Case cases[] = {
      {"Could not open \"%1$s\": %2$s",
       {"a.png", "No such file"},
       "Could not open \"a.png\": No such file"},
      {"%2$s 中的 %1$s 已损坏：%3$s",
       {"word/document.xml", "a.docx", "CRC"},
       "a.docx 中的 word/document.xml 已损坏：CRC"},
      {"%1$s and %1$s", {"twice"}, "twice and twice"},
      // A value is never read again for placeholders.
      {"%1$s: %2$s", {"%2$s.png", "gone"}, "%2$s.png: gone"},
      // What is no placeholder of a value stays as it stands.
      {"%3$s, %0$s, %1$d, %1$, %%, 100 %, %", {"a"}, "%3$s, %0$s, %1$d, %1$, %%, 100 %, %"},
      {"%10$s", {"1", "2", "3", "4", "5", "6", "7", "8", "9", "ten"}, "ten"},
      {"", {}, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.pattern);
    EXPECT_EQ(substituted(c.pattern, c.values), c.expected);
  }
}

// Runs `body` with LC_MESSAGES set to `locale` and LANGUAGE unset, both
// restored afterwards.
void inLocale(const char* locale, const std::function<void()>& body) {
  const std::string messages = std::setlocale(LC_MESSAGES, nullptr);
  const char* language = std::getenv("LANGUAGE");
  const std::optional<std::string> savedLanguage =
      language ? std::optional<std::string>(language) : std::nullopt;
  ::unsetenv("LANGUAGE");
  ASSERT_NE(std::setlocale(LC_MESSAGES, locale), nullptr)
      << locale << " is not installed here; scripts/install-deps --test makes de_DE.UTF-8";
  body();
  std::setlocale(LC_MESSAGES, messages.c_str());
  if (savedLanguage) ::setenv("LANGUAGE", savedLanguage->c_str(), 1);
}

// The engine binds its catalogue itself: a program that links it and sets
// the locale, as the desktop program's toolkit does, gets its failures in the
// user's language without binding anything.
TEST(Translation, FailuresFollowTheMessagesLocaleFromTheEnginesOwnCatalogue) {
  const std::string english = "Could not read a.png. The file may be damaged or unsupported.";
  inLocale("C", [&] { EXPECT_EQ(Failure::unreadable("a.png").what(), english); });
  inLocale("de_DE.UTF-8", [] {
    EXPECT_STREQ(Failure::unreadable("a.png").what(),
                 "a.png konnte nicht gelesen werden. Die Datei ist möglicherweise beschädigt oder "
                 "wird nicht unterstützt.");
    EXPECT_EQ(describe(FileError(ENOENT, "Could not open \"%1$s\": %2$s", "/x/a.png", "weg")),
              "„/x/a.png“ konnte nicht geöffnet werden: weg");
    // Plural forms as German counts.
    const char* saved = "Too many simultaneous writes to this folder. Already saved %1$s file(s).";
    EXPECT_EQ(translatedPlural(saved, saved, 1, {"1"}),
              "Zu viele gleichzeitige Schreibvorgänge in diesem Ordner. 1 Datei wurde bereits "
              "gespeichert.");
    EXPECT_EQ(translatedPlural(saved, saved, 2, {"2"}),
              "Zu viele gleichzeitige Schreibvorgänge in diesem Ordner. 2 Dateien wurden bereits "
              "gespeichert.");
  });
  inLocale("C", [&] { EXPECT_EQ(Failure::unreadable("a.png").what(), english); });
}

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
      // LANGUAGE chooses over the locale.
      {"LANG=de_DE.UTF-8 LANGUAGE=fr", convertDamaged, 1,
       "Impossible de lire damaged.png. Le fichier est peut-être endommagé ou n’est pas pris en "
       "charge.\n"},
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
  // Each shipped catalogue is installed and found (what each says: catalogue_test.py).
  for (const char* language : {"es", "pt_BR", "zh_CN", "ja"}) {
    const Outcome outcome =
        run("LC_ALL=C.UTF-8 LANGUAGE=" + std::string(language), convertDamaged, folder.path());
    EXPECT_NE(outcome.err, english) << language;
    EXPECT_NE(outcome.err.find("damaged.png"), std::string::npos) << language;
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
}  // namespace MediaEngine
