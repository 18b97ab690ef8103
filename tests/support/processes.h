// Helpers for tests of child processes: the stand-in programs they run, and
// checks that nothing a call started outlives it.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>

#include "tests/support/test_support.h"

namespace TestSupport {

// Small scripts that behave like encoders, well or badly: "stand-in-encoder",
// "complains", "complains-on-stdout", "floods-stdout", "floods-stderr",
// "ignores-term", "leaves-a-child".
const fs::path& standIns();

// Processes whose parent is this one, and processes still running a command
// line that contains `marker`.
int processesMatching(const std::string& marker);

// Every test gets a temporary area of its own (TMPDIR points into it), so that
// what a call leaves in it can be seen, and checks that the call left nothing
// running or behind.
class NothingLeftBehind : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  ScratchFolder temporary_;
  std::optional<std::string> savedTemporary_;
};

}  // namespace TestSupport
