// Process-wide start-up of the codecs the engine drives. Internal to the engine.
//
// Thread safety: every function may be called from any thread; each does its
// work once per process.
#pragma once

#include <filesystem>

namespace MediaEngine::detail {

// Starts libvips with none of its optional modules, every loader blocked but
// the allowlisted ones, the operation cache off and its warnings kept off the
// terminal. Throws Failure::encoding when libvips cannot start.
void startImageLibrary();

// Loads libvips' HEIF module, for HEIC and AVIF decoding. Returns false when it
// is not installed.
bool loadHeifDecoder();

// The folder that holds the engine library itself.
const std::filesystem::path& engineFolder();

// The engine's resource folder: <prefix>/share/whirlpane beside <prefix>/lib.
const std::filesystem::path& resourceFolder();

}  // namespace MediaEngine::detail
