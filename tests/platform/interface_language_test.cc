// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/interface_language.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTranslator>

#include "tests/support/scoped_environment.h"

namespace Whirlpane {
namespace {

TEST(InterfaceLanguage, TheFirstOfTheUsersLanguagesThatIsEnglishOrServedDecides) {
  const QStringList shipped{"de", "fr", "es", "pt_BR", "zh_CN", "ja"};
  const struct {
    QStringList wanted;  // as QLocale::uiLanguages() gives them
    QStringList shipped;
    const char* chosen;
  } cases[] = {
      {{"de-DE", "de-Latn-DE", "de"}, shipped, "de"},
      {{"de-AT"}, shipped, "de"},
      {{"en-US", "en", "de", "de-DE"}, shipped, ""},    // English first: no catalogue
      {{"nl-NL", "nl", "fr-CA", "fr"}, shipped, "fr"},  // the first served one
      {{"es-MX"}, shipped, "es"},
      {{"pt-BR", "pt-Latn-BR", "pt"}, shipped, "pt_BR"},
      {{"pt-PT", "pt"}, shipped, "pt_BR"},             // the same language and script
      {{"pt-PT", "pt"}, {"pt_BR", "pt_PT"}, "pt_PT"},  // its own territory first
      {{"zh-CN", "zh-Hans-CN", "zh"}, shipped, "zh_CN"},
      {{"zh-SG"}, shipped, "zh_CN"},
      {{"zh-TW", "zh-Hant-TW"}, shipped, ""},  // traditional characters: not served
      {{"ja-JP", "ja-Jpan-JP", "ja"}, shipped, "ja"},
      {{"C"}, shipped, ""},
      {{}, shipped, ""},
      {{"de-DE"}, {}, ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(chooseCatalogue(c.wanted, c.shipped).toStdString(), c.chosen)
        << c.wanted.join(',').toStdString();
  }
}

TEST(InterfaceLanguage, TheBuiltCataloguesAreInstalledAndTranslate) {
  ScopedEnvironment noOverride{"WHIRLPANE_TRANSLATION", std::nullopt};
  const auto shown = [] {
    return QCoreApplication::translate("Whirlpane::TrayApplication", "Show Wheel");
  };
  EXPECT_EQ(installInterfaceLanguage(WHIRLPANE_TRANSLATIONS, {"en-GB", "de-DE"}), "");
  EXPECT_EQ(shown(), "Show Wheel");
  EXPECT_EQ(installInterfaceLanguage(WHIRLPANE_TRANSLATIONS, {"ja-JP", "ja"}), "ja");
  EXPECT_EQ(shown(), QString::fromUtf8("ホイールを表示"));
  // Qt's own texts come along where Qt has a catalogue for the language.
  EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"),
            QString::fromUtf8("キャンセル"));
  for (QTranslator* translator : qApp->findChildren<QTranslator*>()) {
    QCoreApplication::removeTranslator(translator);
    delete translator;
  }
  EXPECT_EQ(installInterfaceLanguage("/nonexistent", {"de"}), "") << "no catalogues there";
  EXPECT_TRUE(qApp->findChildren<QTranslator*>().isEmpty());
}

}  // namespace
}  // namespace Whirlpane
