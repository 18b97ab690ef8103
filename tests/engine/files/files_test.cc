// SPDX-License-Identifier: GPL-3.0-or-later
// Where outputs go and how they are published, and the child processes that
// external encoders run in.
#include <gtest/gtest.h>

#include <chrono>
#include <sstream>

#include "files/child_process.h"
#include "files/output_placement.h"
#include "tests/support/processes.h"
#include "tests/support/test_support.h"
#include "whirlpane/failure.h"

namespace MediaEngine {
namespace {

using namespace std::chrono_literals;
using TestSupport::failureText;
using TestSupport::readFile;
using TestSupport::ScratchFolder;
using TestSupport::standIns;
using TestSupport::writeFile;
namespace fs = std::filesystem;
using ChildProcess = TestSupport::NothingLeftBehind;

TEST(UniqueSibling, NamesFromBaseSuffixAndExtensionSkippingEveryTakenName) {
  ScratchFolder folder;
  // A name at the file system's limit gives way at a character boundary.
  std::string accents;
  for (int i = 0; i < 124; ++i) accents += "\u00e9";
  const std::string longest = "Ferien " + accents, cut = "Ferien " + accents.substr(0, 232);
  const std::tuple<std::string, std::string, std::string, std::string> cases[] = {
      {"photo.jpg", "", "png", "photo.png"},
      {"scan.pdf", "-page-3", "jpg", "scan-page-3.jpg"},
      {"photo.jpg", "a/b", "png", "photoa-b.png"},
      {"photo.jpg", "", "..p/ng..", "photo.png"},
      {"photo.jpg", std::string("-a\0b", 4), std::string("p\0ng", 4), "photo-ab.png"},
      {longest + ".jpg", "-compressed", "jpg", cut + "-compressed.jpg"},
  };
  for (const auto& [source, suffix, ext, expected] : cases) {
    SCOPED_TRACE(source + " + " + suffix + " + " + ext);
    EXPECT_EQ(uniqueSibling(folder / source, suffix, ext), folder / expected);
  }
  // The source holds photo.png itself; a dangling link and a folder hold the next two.
  const fs::path source = folder / "photo.png";
  writeFile(source, "source");
  fs::create_symlink(folder / "nowhere", folder / "photo 2.png");
  fs::create_directory(folder / "photo 3.png");
  EXPECT_EQ(uniqueSibling(source, "", "png"), folder / "photo 4.png");
  EXPECT_EQ(uniqueSibling(source, "", "jpg"), folder / "photo.jpg");
}

TEST(Publish, WritesExactlyTheBytesAndNeverReplaces) {
  ScratchFolder folder;
  const fs::path destination = folder / "out.png";
  std::string payload(3 << 20, '\0');
  for (size_t i = 0; i < payload.size(); ++i) payload[i] = static_cast<char>(i * 7 + i / 251);
  publish(Bytes::copyOf(payload), destination, 0666);
  EXPECT_EQ(failureText([&] { publish(Bytes::copyOf("other"), destination, 0666); }),
            "out.png already exists. Choose a different output filename.");
  EXPECT_EQ(TestSupport::listFolder(folder.path()), std::vector<std::string>{"out.png"});
  // The fallback for file systems that cannot rename without replacing refuses as well.
  writeFile(folder / "from", "new");
  EXPECT_EQ(detail::linkThenUnlink(folder / "from", destination), EEXIST);
  EXPECT_EQ(detail::linkThenUnlink(folder / "from", folder / "free"), 0);
  EXPECT_EQ(readFile(folder / "free"), "new");
  EXPECT_FALSE(fs::exists(folder / "from"));
  EXPECT_EQ(readFile(destination), payload);
}

TEST(BatchFolder, StagesPrivatelyAndPublishesInOrderBesideTheSource) {
  ScratchFolder folder;
  const fs::path source = folder / "scan.pdf";
  writeFile(source, "%PDF");
  writeFile(folder / "scan-page-2.png", "taken");
  std::vector<fs::path> published;
  fs::path staging;
  {
    BatchFolder batch(source, "png");
    staging = batch.path();
    EXPECT_TRUE(staging.filename().string().starts_with(".whirlpane-batch-"));
    EXPECT_EQ(fs::status(staging).permissions(), fs::perms::owner_all);
    for (int page = 1; page <= 3; ++page) {
      const std::string number = std::to_string(page);
      batch.stage(Bytes::copyOf("page " + number), "-page-" + number);
    }
    published = batch.publish();
  }
  EXPECT_EQ(published,
            (std::vector<fs::path>{folder / "scan-page-1.png", folder / "scan-page-2 2.png",
                                   folder / "scan-page-3.png"}));
  EXPECT_EQ(readFile(folder / "scan-page-2 2.png"), "page 2");
  EXPECT_EQ(readFile(folder / "scan-page-2.png"), "taken");
  EXPECT_FALSE(fs::exists(staging));

  // A name longer than the file system allows makes the third rename fail.
  BatchFolder batch(source, "txt");
  for (const std::string& suffix : {std::string("-a"), std::string("-b"), std::string(300, 'x')})
    batch.stage(Bytes::copyOf(suffix), suffix);
  EXPECT_EQ(failureText([&] { batch.publish(); }),
            "Could not create the output: File name too long Already saved: scan-a.txt, "
            "scan-b.txt.");
  // Working folders elsewhere are as private.
  const fs::path elsewhere = temporaryDirectory();
  EXPECT_EQ(elsewhere.parent_path(), fs::temp_directory_path());
  EXPECT_EQ(fs::status(elsewhere).permissions(), fs::perms::owner_all);
  fs::remove_all(elsewhere);
}

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
  const std::string missing = failureText([] { run(standIns() / "no-such-encoder", {}, 100); });
  EXPECT_NE(missing.find((standIns() / "no-such-encoder").string() + "\": No such file"),
            std::string::npos)
      << missing;
}

// The limit, then the grace period, then the kill: not sooner, not forever.
TEST_F(ChildProcess, AHungChildIsStoppedAndKilledWhenItIgnoresTheRequest) {
  const auto started = std::chrono::steady_clock::now();
  EXPECT_EQ(failureText([] { run(standIns() / "ignores-term", {}, 100, quick); }),
            "Could not create the output: ignores-term exceeded the time limit");
  const auto took = std::chrono::steady_clock::now() - started;
  EXPECT_GE(took, quick.timeLimit + quick.grace);
  EXPECT_LT(took, 10s);
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
