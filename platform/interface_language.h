// SPDX-License-Identifier: GPL-3.0-or-later
// The language the desktop program speaks. Its texts are English in the code;
// other languages come from catalogues built from translations/ and installed
// in <prefix>/share/whirlpane/translations as whirlpane_<name>.qm (<name> as
// in "de", "pt_BR", "zh_CN"). The user's languages are tried in the user's
// order: the first that is English, or that a catalogue serves, decides, so
// that "English, then German" stays English. Qt's own catalogue
// (qtbase_<name>.qm, for the standard dialogs and buttons) comes along where
// it is installed.
//
// Thread safety: main thread only, before the first window is made (texts
// already made are not translated again).
#pragma once

#include <QString>
#include <QStringList>
#include <filesystem>

namespace Whirlpane {

// The catalogue among `shipped` (names as above) for the first of
// `uiLanguages` (BCP 47 tags in the user's order, as QLocale::uiLanguages()
// gives them: "de-AT", "zh-Hans-CN") that is English or served: a catalogue
// of the same language and script, the one of the tag's own territory when
// there is one (pt-PT takes pt_BR, zh-SG zh_CN, zh-TW none). Empty for
// English, for the C locale, and when none of the languages is served.
QString chooseCatalogue(const QStringList& uiLanguages, const QStringList& shipped);

// The folder of the program's catalogues beside the running executable:
// <prefix>/share/whirlpane/translations for <prefix>/bin/<program>, in an
// installed tree and in the build tree alike.
std::filesystem::path translationsFolder();

// Installs on the running application the catalogue chosen from `folder` for
// `uiLanguages`, and Qt's own for the same language where Qt has one.
// WHIRLPANE_TRANSLATION, when set, names one catalogue file to load instead
// of any choice (the tests' pseudo-locale). Returns the language installed
// ("de"; the catalogue's own language for WHIRLPANE_TRANSLATION), or an empty
// string when the program stays English.
QString installInterfaceLanguage(const std::filesystem::path& folder,
                                 const QStringList& uiLanguages);

}  // namespace Whirlpane
