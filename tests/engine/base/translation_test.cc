// SPDX-License-Identifier: GPL-3.0-or-later
// The engine's texts in the user's language: placeholders filled in whatever
// order a translation puts them, and the engine's own catalogue found beside
// it.
#include "base/translation.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <clocale>
#include <cstdlib>
#include <functional>
#include <optional>
#include <string>

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

}  // namespace
}  // namespace MediaEngine
