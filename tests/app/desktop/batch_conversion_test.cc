// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/desktop/batch_conversion.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <condition_variable>
#include <future>
#include <mutex>
#include <thread>

#include "tests/support/scoped_environment.h"
#include "tests/support/test_support.h"

namespace Whirlpane {
namespace {

namespace fs = std::filesystem;
using TestSupport::ScratchFolder;

// Runs one batch to its end and records what it reported, in order.
struct BatchRun {
  std::vector<std::pair<int, int>> progress;
  BatchConversion::Result result;

  // `afterProgress` runs on the batch's thread after each report.
  BatchRun(BatchConversion& batch, std::vector<fs::path> files, std::string format,
           const std::function<void()>& whileRunning = {},
           const std::function<void(int saved)>& afterProgress = {}, std::string password = {}) {
    std::mutex mutex;
    std::condition_variable ended;
    bool done = false;
    const bool started = batch.start(
        std::move(files), std::move(format),
        [&](int saved, int total) {
          {
            std::lock_guard lock(mutex);
            progress.emplace_back(saved, total);
          }
          if (afterProgress) afterProgress(saved);
        },
        [&](BatchConversion::Result r) {
          {
            std::lock_guard lock(mutex);
            result = std::move(r);
            done = true;
            ended.notify_all();
          }
          // Lingers after telling of the end, as a caller on another thread
          // would: the next batch may be started meanwhile.
          std::this_thread::sleep_for(std::chrono::milliseconds(30));
        },
        {}, std::move(password));
    EXPECT_TRUE(started);
    if (!started) return;
    if (whileRunning) whileRunning();
    std::unique_lock lock(mutex);
    ended.wait(lock, [&] { return done; });
  }
};

TEST(BatchConversion, CountsConvertedSourcesAndListsEachFailure) {
  ScratchFolder folder;
  // The first file is the slowest: with several children the others end
  // first, and are still reported after it.
  TestSupport::saveImage(TestSupport::noisePicture(1200, 1200), folder / "one.jpg");
  TestSupport::writeFile(folder / "broken.jpg", "not a picture");
  TestSupport::saveImage(TestSupport::testPicture(30, 40), folder / "three.webp");
  for (const int children : {1, 2, 3}) {
    SCOPED_TRACE(children);
    for (const char* output : {"one.png", "three.png"}) fs::remove(folder / output);
    BatchConversion batch(WHIRLPANE_BINARY, children);
    const BatchRun run(batch, {folder / "one.jpg", folder / "broken.jpg", folder / "three.webp"},
                       "png");
    EXPECT_EQ(run.progress, (std::vector<std::pair<int, int>>{{1, 3}, {1, 3}, {2, 3}}));
    EXPECT_EQ(run.result.outputs,
              (std::vector<fs::path>{folder / "one.png", folder / "three.png"}));
    EXPECT_EQ(run.result.failures,
              std::vector<std::string>{"broken.jpg: Could not read broken.jpg. The file may be "
                                       "damaged or unsupported."});
  }
}

TEST(BatchConversion, ACancelStopsTheFilesInProgressAndKeepsWhatWasSaved) {
  ScratchFolder folder;
  // The first file is quick, the others slow: when the first is saved, the
  // second child is still encoding.
  std::vector<fs::path> files{folder / "p0.png", folder / "p1.png"};
  TestSupport::saveImage(TestSupport::testPicture(40, 30), files[0]);
  TestSupport::saveImage(TestSupport::noisePicture(2000, 2000), files[1]);
  for (int i = 2; i < 6; ++i) {
    files.push_back(folder / ("p" + std::to_string(i) + ".png"));
    fs::copy_file(files[1], files.back());
  }
  BatchConversion batch(WHIRLPANE_BINARY, 2);
  const BatchRun run(
      batch, files, "avif",
      [&] {
        // Asked at once: once the first file is saved, the cancel may already
        // have ended the batch.
        EXPECT_FALSE(batch.start({}, "png", {}, {})) << "a second batch while the first runs";
        for (int i = 0; i < 6000 && !fs::exists(folder / "p0.avif"); ++i) ::usleep(5'000);
      },
      [&](int saved) {
        if (saved == 1) batch.cancel();
      });
  EXPECT_EQ(run.progress, (std::vector<std::pair<int, int>>{{1, 6}}));
  EXPECT_EQ(run.result.outputs, std::vector<fs::path>{folder / "p0.avif"});
  EXPECT_TRUE(run.result.failures.empty()) << run.result.failures.front();
  // Every child has ended: nothing it was writing appears, now or later.
  ::usleep(300'000);
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder.path())) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"p0.avif", "p0.png", "p1.png", "p2.png", "p3.png",
                                             "p4.png", "p5.png"}));
}

TEST(BatchConversion, AWorkerThatDiesIsThatFilesFailure) {
  ScratchFolder folder;
  TestSupport::writeFile(folder / "dies", "#!/bin/sh\nkill -9 $$\n");
  fs::permissions(folder / "dies", fs::perms::owner_all);
  BatchConversion batch(folder / "dies");
  const BatchConversion::Outcome outcome = batch.convertOne(folder / "photo.jpg", "png");
  EXPECT_TRUE(outcome.outputs.empty());
  EXPECT_EQ(outcome.failure, "photo.jpg: The conversion stopped unexpectedly (Killed).");
}

// A locked PDF is neither saved nor failed until a password opens it; the
// password reaches the child on its standard input alone.
TEST(BatchConversion, ALockedPDFWaitsForThePasswordThatOpensIt) {
  ScratchFolder folder;
  TestSupport::saveImage(TestSupport::testPicture(60, 40), folder / "page.png");
  const std::string in = "cd " + TestSupport::quoted(folder.path().string()) + " && ";
  TestSupport::shell(in + WHIRLPANE_BINARY " --convert page.png --to pdf >/dev/null" +
                     " && qpdf --encrypt 'pass word' owner 256 -- page.pdf locked.pdf");
  const fs::path locked = folder / "locked.pdf";
  BatchConversion batch(WHIRLPANE_BINARY);
  const std::pair<std::string, bool> cases[] = {{"", false}, {"wrong", false}, {"pass word", true}};
  for (const auto& [password, opens] : cases) {
    SCOPED_TRACE(password);
    const BatchRun run(batch, {locked}, "png", {}, {}, password);
    EXPECT_TRUE(run.result.failures.empty()) << run.result.failures.front();
    EXPECT_EQ(run.result.locked, opens ? std::vector<fs::path>{} : std::vector<fs::path>{locked});
    EXPECT_EQ(run.result.outputs,
              opens ? std::vector<fs::path>{folder / "locked.png"} : std::vector<fs::path>{});
  }

  // What a worker is given, where other programs could read it and where not:
  // a stand-in records it, then ends without answering.
  const std::string seen = TestSupport::quoted((folder / "seen").string());
  TestSupport::writeFile(folder / "worker",
                         "#!/bin/sh\necho \"$@\" >" + seen + ".arguments; env >" + seen +
                             ".environment; timeout 2 cat >" + seen + ".input\n");
  fs::permissions(folder / "worker", fs::perms::owner_all);
  const auto outcome =
      BatchConversion(folder / "worker").convertOne(locked, "png", {}, "pass word");
  EXPECT_FALSE(outcome.failure.empty()) << "a worker that never answers fails its file";
  EXPECT_EQ(TestSupport::readFile(folder / "seen.arguments"), "--batch-worker\n");
  EXPECT_EQ(TestSupport::readFile(folder / "seen.environment").find("pass word"),
            std::string::npos);
  EXPECT_NE(TestSupport::readFile(folder / "seen.input").find("\n9\npass word"), std::string::npos);
}

// Workers convert file after file; one that crashes costs its file alone, and
// one retired after its share of files loses none.
TEST(BatchConversion, AWorkerThatCrashesOrIsRetiredLosesNoOtherFile) {
  ScratchFolder folder;
  std::vector<fs::path> files;
  for (const char* name : {"a.jpg", "b.jpg", "c.jpg", "d.jpg", "e.jpg"}) {
    files.push_back(folder / name);
    TestSupport::saveImage(TestSupport::testPicture(40, 30), files.back());
  }
  const struct {
    const char* abortOn;
    int filesPerWorker, workers;
    std::vector<std::string> saved, failures;
    int workersStarted;
  } cases[] = {
      {"c.jpg",
       100,
       1,
       {"a", "b", "d", "e"},
       {"c.jpg: The conversion stopped unexpectedly (Aborted)."},
       2},
      {"", 2, 1, {"a", "b", "c", "d", "e"}, {}, 3},
      {"", 2, 2, {"a", "b", "c", "d", "e"}, {}, 3},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.abortOn) + " " + std::to_string(c.filesPerWorker));
    for (const auto& file : files) fs::remove(fs::path(file).replace_extension("png"));
    ScopedEnvironment abort("WHIRLPANE_TEST_WORKER_ABORT_ON", c.abortOn);
    BatchConversion batch(WHIRLPANE_BINARY, c.workers, {.filesPerWorker = c.filesPerWorker});
    const BatchRun run(batch, files, "png");
    std::vector<fs::path> expected;
    for (const std::string& name : c.saved) expected.push_back(folder / (name + ".png"));
    EXPECT_EQ(run.result.outputs, expected);
    EXPECT_EQ(run.result.failures, c.failures);
    for (const fs::path& output : expected)
      EXPECT_EQ(TestSupport::loadWithVips(output).width(), 40);
    EXPECT_EQ(batch.workersStarted(), c.workersStarted);
    EXPECT_TRUE(TestSupport::workingFilesIn(folder.path()).empty());
  }
}

// Files whose folder may not be written are named for another folder, and
// go into it when one is given.
TEST(BatchConversion, AnotherFolderTakesWhatTheSourcesFolderCannot) {
  TestSupport::LimitedFolder photos(1 << 20);
  TestSupport::saveImage(TestSupport::testPicture(40, 30), photos / "a.jpg");
  if (!photos.makeReadOnly()) GTEST_SKIP() << "no folder here refuses this process";
  ScratchFolder other;
  TestSupport::saveImage(TestSupport::testPicture(40, 30), other / "b.jpg");
  BatchConversion batch(WHIRLPANE_BINARY, 1);
  const BatchRun refused(batch, {photos / "a.jpg", other / "b.jpg"}, "png");
  EXPECT_EQ(refused.result.outputs, std::vector<fs::path>{other / "b.png"});
  EXPECT_EQ(refused.result.unwritable, std::vector<fs::path>{photos / "a.jpg"});
  EXPECT_EQ(refused.result.failures,
            std::vector<std::string>{"a.jpg: “a.png” could not be saved: the folder “" +
                                     photos.path().filename().string() +
                                     "” does not let you save files in it."});
  BatchConversion::Result elsewhere;
  std::promise<void> ended;
  batch.start(
      {photos / "a.jpg"}, "png", {},
      [&](BatchConversion::Result result) {
        elsewhere = std::move(result);
        ended.set_value();
      },
      other.path());
  ended.get_future().wait();
  EXPECT_EQ(elsewhere.outputs, std::vector<fs::path>{other / "a.png"});
  EXPECT_TRUE(elsewhere.failures.empty());
}

}  // namespace
}  // namespace Whirlpane
