// SPDX-License-Identifier: GPL-3.0-or-later
// The engine's texts in the user's language, from gettext's catalogue
// "whirlpane" installed beside the engine (<prefix>/share/locale). The
// language is the one the process's LC_MESSAGES locale and LANGUAGE name; the
// engine never sets the locale nor the process's default text domain, so
// under the C locale, or where the catalogue has no translation, every text
// is the English one, unchanged. Translations come in UTF-8.
//
// The English text is written as a literal inside translated(...), where
// xgettext finds it (translations/CMakeLists.txt lists the keywords). Values
// go in as %1$s, %2$s, ..., which a translation may put in any order; a text
// holds no other '%'.
//
// Internal to the engine; any thread.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace MediaEngine {

// The catalogue the engine's texts come from, shared with the command line.
inline constexpr char textDomain[] = "whirlpane";

// `english` in the user's language, its placeholders left as they are.
std::string translated(const char* english);

// `english` in the user's language, each %N$s replaced by the N-th of
// `values`.
std::string translated(const char* english, std::initializer_list<std::string_view> values);

// The same for a text that names a count: `singular` or `plural`, as the
// user's language words `count`, with its placeholders replaced.
std::string translatedPlural(const char* singular, const char* plural, unsigned long count,
                             std::initializer_list<std::string_view> values);

// `pattern` with each %N$s replaced by the N-th of `values`; a placeholder
// with no value, and everything else, kept as it stands.
std::string substituted(std::string_view pattern, std::initializer_list<std::string_view> values);

}  // namespace MediaEngine
