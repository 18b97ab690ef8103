#include "files/child_process.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <sstream>

#include "tests/support/processes.h"
#include "tests/support/test_support.h"
#include "whirlpane/failure.h"

namespace MediaEngine {
namespace {

using namespace std::chrono_literals;
using TestSupport::failureText;
using TestSupport::processesMatching;
using TestSupport::standIns;
using ChildProcess = TestSupport::NothingLeftBehind;

const ProcessLimits quick{
    .timeLimit = 400ms, .pollInterval = 50ms, .grace = 300ms, .errorLimit = 1'048'576};

TEST_F(ChildProcess, RunReturnsStandardOutputAndReportsFailuresWithTheChildsWords) {
  EXPECT_EQ(run("/bin/echo", {"one", "two words"}, 100).text(), "one two words\n");
  // 1,000 characters of two bytes each: cut by characters, not bytes.
  std::string complaint = "Could not create the output: complains: ";
  for (int i = 0; i < 1000; ++i) complaint += "\u00e9";
  EXPECT_EQ(failureText([] { run(standIns() / "complains", {}, 100); }), complaint);
  const std::string tooLarge = "This file is too large to process safely at full resolution.";
  const std::pair<std::function<void()>, std::string> cases[] = {
      {[] { run(standIns() / "complains-on-stdout", {}, 100); },
       "Could not create the output: complains-on-stdout: ERROR: unrecognized option -q\n"},
      {[] {
         run("/bin/sh", {"-c", "kill -9 $$"}, 100);
       },
       "Could not create the output: sh: "},
      // Floods of output are stopped at the next poll, and a child that ends
      // at once but wrote more than allowed is refused as well.
      {[] { run(standIns() / "floods-stderr", {}, 100, quick); }, tooLarge},
      {[] { run(standIns() / "floods-stdout", {}, 1'000'000, quick); }, tooLarge},
      {[] {
         run("/usr/bin/head", {"-c", "2000", "/dev/zero"}, 1000);
       },
       tooLarge},
  };
  for (const auto& [action, message] : cases) EXPECT_EQ(failureText(action), message);
  EXPECT_EQ(processesMatching("floods-"), 0);
  try {
    run(standIns() / "no-such-encoder", {}, 100);
    ADD_FAILURE() << "started a missing program";
  } catch (const FileError& error) {
    EXPECT_EQ(error.code().value(), ENOENT);
    EXPECT_NE(std::string(error.what()).find((standIns() / "no-such-encoder").string()),
              std::string::npos);
  }
}

// The limit, then the grace period, then the kill: not sooner, not forever.
TEST_F(ChildProcess, AHungChildIsStoppedAndKilledWhenItIgnoresTheRequest) {
  const auto started = std::chrono::steady_clock::now();
  EXPECT_EQ(failureText([] { run(standIns() / "ignores-term", {}, 100, quick); }),
            "Could not create the output: ignores-term exceeded the time limit");
  const auto took = std::chrono::steady_clock::now() - started;
  EXPECT_GE(took, quick.timeLimit + quick.grace);
  EXPECT_LT(took, 10s);
  EXPECT_EQ(processesMatching("ignores-term"), 0);
}

// Not even for the moment SIGKILL takes: each of the child's own children,
// looked at as soon as the call returns, has ended.
TEST_F(ChildProcess, NothingTheChildStartedOutlivesIt) {
  const std::filesystem::path children = temporary_ / "children";
  ::setenv("STAND_IN_CHILDREN", children.c_str(), 1);
  EXPECT_EQ(run(standIns() / "leaves-a-child", {}, 100).text(), "done\n");
  ::unsetenv("STAND_IN_CHILDREN");
  std::istringstream pids(TestSupport::readFile(children));
  int count = 0, running = 0;
  for (std::string pid; std::getline(pids, pid); ++count) {
    const std::string stat = TestSupport::readFile("/proc/" + pid + "/stat");
    if (!stat.empty() && stat[stat.rfind(')') + 2] != 'Z') ++running;
  }
  EXPECT_EQ(count, 200);
  EXPECT_EQ(running, 0);
  std::filesystem::remove(children);
}

}  // namespace
}  // namespace MediaEngine
