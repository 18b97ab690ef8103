// SPDX-License-Identifier: GPL-3.0-or-later
// Starting the engine. Its libraries set process-wide state when they start,
// the environment among it (libvips reads and writes VIPSHOME), and nothing
// may read the environment on another thread while that happens.
//
// Thread safety: start() must be called once before the program starts any
// other thread; every other engine function is then safe to call from any
// thread. A program that never has a second thread may skip it: each
// operation starts what it needs on first use.
#pragma once

namespace MediaEngine {

// Starts the image library (with its decoders allowlisted and its optional
// modules left out). Calling it again does nothing. Throws Failure::encoding
// when the image library cannot start.
void start();

}  // namespace MediaEngine
