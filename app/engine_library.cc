#include "app/engine_library.h"

#include <dlfcn.h>

#include <filesystem>
#include <system_error>

namespace Whirlpane {

const WhirlpaneEngine* loadEngine(std::string& error) {
  namespace fs = std::filesystem;
  std::error_code ignored;
  const fs::path executable = fs::read_symlink("/proc/self/exe", ignored);
  const fs::path library = executable.parent_path() / "../lib/whirlpane/libwhirlpane-engine.so";
  void* handle = ::dlopen(library.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!handle) {
    const char* reason = ::dlerror();
    error = "The conversion engine could not be loaded: " +
            std::string(reason ? reason : library.string());
    return nullptr;
  }
  using Entry = const WhirlpaneEngine* (*)();
  auto entry = reinterpret_cast<Entry>(::dlsym(handle, whirlpaneEngineSymbol));
  const WhirlpaneEngine* engine = entry ? entry() : nullptr;
  if (!engine || engine->version != WhirlpaneEngine::currentVersion) {
    error = "The conversion engine at " + library.string() + " does not match this program.";
    return nullptr;
  }
  return engine;
}

}  // namespace Whirlpane
