// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/plugin.h"

#include <dlfcn.h>

#include "base/locations.h"

namespace MediaEngine::detail {

void* openPlugin(const char* fileName) {
  const auto path = engineFolder() / fileName;
  return ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
}

void* pluginSymbolAddress(void* plugin, const char* name) {
  return plugin ? ::dlsym(plugin, name) : nullptr;
}

}  // namespace MediaEngine::detail
