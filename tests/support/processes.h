// SPDX-License-Identifier: GPL-3.0-or-later
// Helpers for tests of child processes: the stand-in programs they run, and
// checks that nothing a call started outlives it.
#pragma once

#include <gtest/gtest.h>

#include <optional>

#include "tests/support/test_support.h"

namespace TestSupport {

// The folder of small scripts that behave like encoders, well or badly.
const fs::path& standIns();

// The running processes whose parent is this one.
int childProcesses();

// Each test gets a temporary area of its own (TMPDIR), and fails when a call
// leaves anything running or behind.
class NothingLeftBehind : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  ScratchFolder temporary_;
  std::optional<std::string> savedTemporary_;
};

}  // namespace TestSupport
