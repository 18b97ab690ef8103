// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/engine_library.h"

#include <dlfcn.h>

#include <filesystem>
#include <system_error>

namespace Whirlpane {

namespace {

namespace fs = std::filesystem;

fs::path libraryPath(const char* name) {
  std::error_code ignored;
  const fs::path executable = fs::read_symlink("/proc/self/exe", ignored);
  return executable.parent_path() / "../lib/whirlpane" / name;
}

// Opens `library`; on failure sets `error` to `what` + the loader's reason.
// `binding` RTLD_LAZY binds each function on its first call instead of all of
// them now: the engine and the hundred libraries below it export thousands of
// functions, of which one conversion calls a few hundred.
void* open(const fs::path& library, const std::string& what, std::string& error,
           int binding = RTLD_NOW) {
  void* handle = ::dlopen(library.c_str(), binding | RTLD_LOCAL);
  if (!handle) {
    const char* reason = ::dlerror();
    error = what + " could not be loaded: " + std::string(reason ? reason : library.string());
  }
  return handle;
}

}  // namespace

const WhirlpaneEngine* loadEngine(std::string& error) {
  const fs::path library = libraryPath("libwhirlpane-engine.so");
  void* handle = open(library, "The conversion engine", error, RTLD_LAZY);
  if (!handle) return nullptr;
  using Entry = const WhirlpaneEngine* (*)();
  auto entry = reinterpret_cast<Entry>(::dlsym(handle, whirlpaneEngineSymbol));
  const WhirlpaneEngine* engine = entry ? entry() : nullptr;
  if (!engine || engine->version != WhirlpaneEngine::currentVersion) {
    error = "The conversion engine at " + library.string() + " does not match this program.";
    return nullptr;
  }
  return engine;
}

int runDesktop(int argc, char** argv, std::string& error) {
  const fs::path library = libraryPath("libwhirlpane-desktop.so");
  void* handle = open(library, "The desktop program", error);
  if (!handle) return -1;
  using Entry = int (*)(int, char**);
  auto entry = reinterpret_cast<Entry>(::dlsym(handle, "whirlpaneDesktopMain"));
  if (!entry) {
    error = "The desktop program at " + library.string() + " does not match this program.";
    return -1;
  }
  return entry(argc, argv);
}

}  // namespace Whirlpane
