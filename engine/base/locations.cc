// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/locations.h"

#include <dlfcn.h>

namespace MediaEngine::detail {

namespace fs = std::filesystem;

const fs::path& engineFolder() {
  static const fs::path folder = [] {
    Dl_info info{};
    if (::dladdr(reinterpret_cast<const void*>(&engineFolder), &info) == 0 || !info.dli_fname)
      return fs::path();
    return fs::path(info.dli_fname).parent_path();
  }();
  return folder;
}

const fs::path& resourceFolder() {
  static const fs::path folder = (engineFolder() / "../../share/whirlpane").lexically_normal();
  return folder;
}

const fs::path& localeFolder() {
  static const fs::path folder = engineFolder().empty()
                                     ? fs::path()
                                     : (engineFolder() / "../../share/locale").lexically_normal();
  return folder;
}

}  // namespace MediaEngine::detail
