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
void* open(const fs::path& library, const std::string& what, std::string& error) {
  void* handle = ::dlopen(library.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!handle) {
    const char* reason = ::dlerror();
    error = what + " could not be loaded: " + std::string(reason ? reason : library.string());
  }
  return handle;
}

}  // namespace

const WhirlpaneEngine* loadEngine(std::string& error) {
  const fs::path library = libraryPath("libwhirlpane-engine.so");
  void* handle = open(library, "The conversion engine", error);
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
