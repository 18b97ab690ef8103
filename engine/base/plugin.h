// SPDX-License-Identifier: GPL-3.0-or-later
// Libraries of the engine's own that are loaded on first use (HEIC and AVIF
// encoding, text recognition), so that conversions that do not need them do
// not pay for loading their dependencies. Internal to the engine; any thread.
#pragma once

namespace MediaEngine::detail {

// The library `fileName` from the engine's own folder, opened and kept for
// the life of the process. Null when it cannot be opened.
void* openPlugin(const char* fileName);

// The address of the entry point `name` of `plugin`; null when the plugin or
// the entry point is missing.
void* pluginSymbolAddress(void* plugin, const char* name);

// The same, typed as the declaration the plugin's header gives for it.
template <typename Function>
Function* pluginSymbol(void* plugin, const char* name) {
  return reinterpret_cast<Function*>(pluginSymbolAddress(plugin, name));
}

}  // namespace MediaEngine::detail
