// SPDX-License-Identifier: GPL-3.0-or-later
// Process-wide start-up of the codecs the engine drives. Internal to the engine.
//
// Thread safety: every function may be called from any thread; each does its
// work once per process. Starting the image library sets and restores an
// environment variable, which is only safe while no other thread runs: a
// program with threads calls MediaEngine::start() first (see startup.h).
#pragma once

namespace MediaEngine::detail {

// Starts libvips with none of its optional modules, every loader blocked but
// the allowlisted ones, the operation cache off and its warnings kept off the
// terminal. Throws Failure::encoding when libvips cannot start.
void startImageLibrary();

// Loads libvips' HEIF module, for HEIC and AVIF decoding. Returns false when it
// is not installed.
bool loadHeifDecoder();

}  // namespace MediaEngine::detail
