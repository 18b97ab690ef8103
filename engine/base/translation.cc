// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/translation.h"

#include <libintl.h>

#include "base/locations.h"

namespace MediaEngine {
namespace {

// The catalogue's domain, bound to the engine's locale folder on first use.
// Only this domain is bound: the process's default domain and its other
// bindings stay the program's.
const char* domain() {
  static const char* const bound = [] {
    const std::filesystem::path& folder = detail::localeFolder();
    if (!folder.empty()) ::bindtextdomain(textDomain, folder.c_str());
    ::bind_textdomain_codeset(textDomain, "UTF-8");
    return textDomain;
  }();
  return bound;
}

}  // namespace

std::string translated(const char* english) { return ::dgettext(domain(), english); }

std::string translated(const char* english, std::initializer_list<std::string_view> values) {
  return substituted(::dgettext(domain(), english), values);
}

std::string translatedPlural(const char* singular, const char* plural, unsigned long count,
                             std::initializer_list<std::string_view> values) {
  return substituted(::dngettext(domain(), singular, plural, count), values);
}

std::string substituted(std::string_view pattern, std::initializer_list<std::string_view> values) {
  std::string text;
  text.reserve(pattern.size());
  for (size_t i = 0; i < pattern.size();) {
    if (pattern[i] == '%') {
      // %N$s, N from 1 to the number of values.
      size_t end = i + 1;
      size_t number = 0;
      while (end < pattern.size() && end - i <= 3 && pattern[end] >= '0' && pattern[end] <= '9')
        number = number * 10 + static_cast<size_t>(pattern[end++] - '0');
      if (end > i + 1 && pattern.substr(end, 2) == "$s" && number >= 1 && number <= values.size()) {
        text += values.begin()[number - 1];
        i = end + 2;
        continue;
      }
    }
    text += pattern[i++];
  }
  return text;
}

}  // namespace MediaEngine
