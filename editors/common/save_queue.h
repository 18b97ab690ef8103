// SPDX-License-Identifier: GPL-3.0-or-later
// The one background thread every editor's save runs on. Saves from all
// editors run one after another in the order they were asked for; each
// editor also lets only one of its own saves run at a time. The editors'
// pictures are decoded on a thread of their own, so that opening an editor
// never waits behind another's save.
//
// Thread safety: enqueue from any thread.
#pragma once

#include <functional>

namespace Whirlpane {

// Runs `job` on the save thread, after every job enqueued before it. The
// thread starts with the first job; when the program ends, it finishes every
// job enqueued before it goes.
void enqueueSave(std::function<void()> job);

// Runs `job` on the decoding thread, after every job enqueued there before
// it; it ends like the save thread.
void enqueueDecode(std::function<void()> job);

// The same on the thread that reads files for editors about to open, which
// never waits behind a whole picture being decoded.
void enqueueOpening(std::function<void()> job);

}  // namespace Whirlpane
