// SPDX-License-Identifier: GPL-3.0-or-later
// Running another program as a child process: no shell, standard input from
// /dev/null, its output captured in a private scratch folder, under a time
// limit and output limits.
//
// A child never outlives the call that started it: it runs in a process group
// of its own, is tracked by WorkingFiles so that a stopping process takes it
// along, and is stopped (politely, then by force) when it exceeds its limits.
//
// Thread safety: any thread; each call has its own child and folder. run()
// blocks its thread until the child ends.
#pragma once

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "whirlpane/bytes.h"

namespace MediaEngine {

// Limits of one child process.
struct ProcessLimits {
  std::chrono::milliseconds timeLimit{180'000};  // from launch
  std::chrono::milliseconds pollInterval{200};
  std::chrono::milliseconds grace{2'000};  // after the polite stop, before SIGKILL
  size_t errorLimit = 1'048'576;           // standard error while running
};

// Runs `executable` with `args` (no shell; standard input from /dev/null; the
// environment as it is) and returns its complete standard output.
// Throws Failure::encoding "<name>: <first 1,000 characters of its standard
// error>" when it exits with another status than 0 or dies of a signal,
// Failure::encoding "<name> exceeded the time limit" when it runs too long,
// Failure::tooLarge when its standard output passes `maximumBytes` or its
// standard error passes the limit, and FileError when it cannot be started.
Bytes run(const std::filesystem::path& executable, const std::vector<std::string>& args,
          size_t maximumBytes, const ProcessLimits& limits = {});

}  // namespace MediaEngine
