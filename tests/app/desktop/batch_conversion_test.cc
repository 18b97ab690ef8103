// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/desktop/batch_conversion.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <condition_variable>
#include <mutex>

#include "tests/support/test_support.h"

namespace Whirlpane {
namespace {

namespace fs = std::filesystem;
using TestSupport::ScratchFolder;

// Runs one batch to its end and records what it reported, in order.
struct BatchRun {
  std::vector<std::pair<int, int>> progress;
  BatchConversion::Result result;

  BatchRun(BatchConversion& batch, std::vector<fs::path> files, std::string format,
           const std::function<void()>& whileRunning = {}) {
    std::mutex mutex;
    std::condition_variable ended;
    bool done = false;
    const bool started = batch.start(
        std::move(files), std::move(format),
        [&](int saved, int total) {
          std::lock_guard lock(mutex);
          progress.emplace_back(saved, total);
        },
        [&](BatchConversion::Result r) {
          std::lock_guard lock(mutex);
          result = std::move(r);
          done = true;
          ended.notify_all();
        });
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

TEST(BatchConversion, ACancelEndsTheBatchAfterTheFilesInProgress) {
  ScratchFolder folder;
  std::vector<fs::path> files{folder / "p0.png"};
  TestSupport::saveImage(TestSupport::noisePicture(1500, 1500), files.back());
  for (int i = 1; i < 5; ++i) {
    files.push_back(folder / ("p" + std::to_string(i) + ".png"));
    fs::copy_file(files.front(), files.back());
  }
  for (const int children : {1, 2}) {
    SCOPED_TRACE(children);
    BatchConversion batch(WHIRLPANE_BINARY, children);
    const BatchRun run(batch, files, "webp", [&] {
      // Until a child has made its hidden batch folder: a conversion is under way.
      for (int i = 0; i < 2000 && TestSupport::workingFilesIn(folder.path()).empty(); ++i)
        ::usleep(5'000);
      EXPECT_FALSE(batch.start({}, "png", {}, {})) << "a second batch while the first runs";
      batch.cancel();
    });
    // The files under way when the cancel came, and no other: a prefix of
    // the batch, at most one file per child.
    const int converted = static_cast<int>(run.progress.size());
    EXPECT_GE(converted, 1);
    EXPECT_LE(converted, children);
    std::vector<std::pair<int, int>> progress;
    std::vector<fs::path> outputs;
    for (int i = 0; i < converted; ++i) {
      progress.emplace_back(i + 1, 5);
      outputs.push_back(folder / ("p" + std::to_string(i) + ".webp"));
    }
    EXPECT_EQ(run.progress, progress);
    EXPECT_EQ(run.result.outputs, outputs);
    for (const fs::path& output : outputs) fs::remove(output);
  }
}

TEST(BatchConversion, AChildThatDiesIsThatFilesFailure) {
  ScratchFolder folder;
  TestSupport::writeFile(folder / "dies", "#!/bin/sh\nkill -9 $$\n");
  fs::permissions(folder / "dies", fs::perms::owner_all);
  BatchConversion batch(folder / "dies");
  const BatchConversion::Outcome outcome = batch.convertOne(folder / "photo.jpg", "png");
  EXPECT_TRUE(outcome.outputs.empty());
  EXPECT_EQ(outcome.failure, "photo.jpg: The conversion stopped unexpectedly (Killed).");
}

}  // namespace
}  // namespace Whirlpane
