// SPDX-License-Identifier: GPL-3.0-or-later
#include "image/codec_runtime.h"

#include <dlfcn.h>
#include <gmodule.h>
#include <vips/vips.h>

#include <cstdlib>
#include <mutex>
#include <optional>
#include <string>

#include "base/locations.h"
#include "base/translation.h"
#include "whirlpane/failure.h"
#include "whirlpane/startup.h"

namespace MediaEngine::detail {
namespace {

namespace fs = std::filesystem;

// Decoders a crafted file may reach. Everything else below VipsForeignLoad
// (the ImageMagick, PDF, SVG, FITS, Matlab, raw ... loaders) stays blocked.
constexpr const char* allowedLoaders[] = {
    "VipsForeignLoadJpeg", "VipsForeignLoadPng",  "VipsForeignLoadNsgif",
    "VipsForeignLoadTiff", "VipsForeignLoadWebp", "VipsForeignLoadHeif",
};

void dropMessage(const gchar*, GLogLevelFlags, const gchar*, gpointer) {}

fs::path folderOf(const void* symbol) {
  Dl_info info{};
  if (::dladdr(symbol, &info) == 0 || !info.dli_fname) return {};
  return fs::path(info.dli_fname).parent_path();
}

// libvips finds its modules below $VIPSHOME; pointing it at an empty folder of
// ours keeps all of them (ImageMagick among them) from loading at start-up.
// (libvips sets the variable itself when it is not set, so start-up touches
// the environment either way: hence start(), before any other thread.) The
// variable is put back afterwards so that child processes see the
// environment the user gave us.
void startWithoutModules() {
  const char* previous = std::getenv("VIPSHOME");
  const std::optional<std::string> saved =
      previous ? std::optional<std::string>(previous) : std::nullopt;
  const fs::path emptyHome = resourceFolder() / "vips-home";
  ::setenv("VIPSHOME", emptyHome.c_str(), 1);
  const int status = vips_init("whirlpane");
  if (saved) {
    ::setenv("VIPSHOME", saved->c_str(), 1);
  } else {
    ::unsetenv("VIPSHOME");
  }
  if (status != 0) {
    vips_error_clear();
    throw Failure::encoding(translated("the image library could not start"));
  }
}

}  // namespace

void startImageLibrary() {
  static std::once_flag once;
  std::call_once(once, [] {
    startWithoutModules();
    vips_cache_set_max(0);  // files change between calls; never answer from a cache
    vips_block_untrusted_set(TRUE);
    vips_operation_block_set("VipsForeignLoad", TRUE);
    for (const char* loader : allowedLoaders) vips_operation_block_set(loader, FALSE);
    // Decoder warnings (a stray byte after the image, an unknown tag) would go
    // to the terminal; what matters to the user arrives as an error instead.
    g_log_set_handler("VIPS",
                      static_cast<GLogLevelFlags>(G_LOG_LEVEL_WARNING | G_LOG_LEVEL_MESSAGE |
                                                  G_LOG_LEVEL_INFO | G_LOG_LEVEL_DEBUG),
                      dropMessage, nullptr);
  });
}

bool loadHeifDecoder() {
  static const bool loaded = [] {
    startImageLibrary();
    const fs::path module = folderOf(reinterpret_cast<const void*>(&vips_init)) /
                            ("vips-modules-" + std::to_string(VIPS_MAJOR_VERSION) + "." +
                             std::to_string(VIPS_MINOR_VERSION)) /
                            "vips-heif.so";
    // Opening the module runs its initialiser, which registers the HEIF classes.
    GModule* handle = g_module_open(module.c_str(), G_MODULE_BIND_LOCAL);
    if (!handle) return false;
    g_module_make_resident(handle);
    vips_operation_block_set("VipsForeignLoadHeif", FALSE);
    return true;
  }();
  return loaded;
}

}  // namespace MediaEngine::detail

namespace MediaEngine {

void start() { detail::startImageLibrary(); }

}  // namespace MediaEngine
