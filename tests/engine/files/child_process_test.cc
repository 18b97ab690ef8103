#include "files/child_process.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>

#include "tests/support/processes.h"
#include "tests/support/test_support.h"
#include "whirlpane/failure.h"

namespace MediaEngine {
namespace {

using namespace std::chrono_literals;
using TestSupport::processesMatching;
using TestSupport::standIns;
using ChildProcess = TestSupport::NothingLeftBehind;

const ProcessLimits quick{
    .timeLimit = 400ms, .pollInterval = 50ms, .grace = 300ms, .errorLimit = 1'048'576};

TEST_F(ChildProcess, RunReturnsStandardOutputAndReportsFailuresWithTheChildsWords) {
  EXPECT_EQ(run("/bin/echo", {"one", "two words"}, 100).text(), "one two words\n");

  const std::string complaint =
      TestSupport::failureText([] { run(standIns() / "complains", {}, 100); });
  const std::string prefix = "Could not create the output: complains: ";
  ASSERT_TRUE(complaint.starts_with(prefix)) << complaint;
  // 1,000 characters of two bytes each: cut by characters, not bytes.
  EXPECT_EQ(complaint.size() - prefix.size(), 2000u);
  EXPECT_EQ(complaint.substr(prefix.size(), 2), "é");

  EXPECT_EQ(TestSupport::failureText([] { run(standIns() / "complains-on-stdout", {}, 100); }),
            "Could not create the output: complains-on-stdout: ERROR: unrecognized option -q\n");
  EXPECT_EQ(TestSupport::failureText([] {
              run("/bin/sh", {"-c", "kill -9 $$"}, 100);
            }),
            "Could not create the output: sh: ");

  try {
    run(standIns() / "no-such-encoder", {}, 100);
    ADD_FAILURE() << "started a missing program";
  } catch (const FileError& error) {
    EXPECT_EQ(error.code().value(), ENOENT);
    EXPECT_NE(std::string(error.what()).find((standIns() / "no-such-encoder").string()),
              std::string::npos);
  }
}

TEST_F(ChildProcess, AHungChildIsStoppedAndKilledWhenItIgnoresTheRequest) {
  const auto started = std::chrono::steady_clock::now();
  EXPECT_EQ(TestSupport::failureText([] { run(standIns() / "ignores-term", {}, 100, quick); }),
            "Could not create the output: ignores-term exceeded the time limit");
  const auto took = std::chrono::steady_clock::now() - started;
  // The limit, then the grace period, then the kill: not sooner, not forever.
  EXPECT_GE(took, quick.timeLimit + quick.grace);
  EXPECT_LT(took, 10s);
  EXPECT_EQ(processesMatching("ignores-term"), 0);
}

TEST_F(ChildProcess, FloodsOfOutputAreStoppedAtTheNextPoll) {
  const std::string tooLarge = "This file is too large to process safely at full resolution.";
  EXPECT_EQ(TestSupport::failureText([] { run(standIns() / "floods-stderr", {}, 100, quick); }),
            tooLarge);
  EXPECT_EQ(
      TestSupport::failureText([] { run(standIns() / "floods-stdout", {}, 1'000'000, quick); }),
      tooLarge);
  // A child that ends at once but wrote more than allowed is refused as well.
  EXPECT_EQ(TestSupport::failureText([] {
              run("/usr/bin/head", {"-c", "2000", "/dev/zero"}, 1000);
            }),
            tooLarge);
  EXPECT_EQ(processesMatching("floods-"), 0);
}

TEST_F(ChildProcess, NothingTheChildStartedOutlivesIt) {
  EXPECT_EQ(run(standIns() / "leaves-a-child", {}, 100).text(), "done\n");
  EXPECT_EQ(processesMatching("sleep 86399"), 0);
}

}  // namespace
}  // namespace MediaEngine
