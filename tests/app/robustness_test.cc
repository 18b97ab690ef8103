// SPDX-License-Identifier: GPL-3.0-or-later
// The program run as a user runs it, in adversity: crafted files, odd names,
// kill -9 mid-conversion, and conversions racing a squatter for their names.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>

#include <chrono>
#include <map>
#include <mutex>
#include <thread>

#include "image/image_decoding.h"
#include "tests/support/test_support.h"
#include "tests/support/text_fixtures.h"

namespace {

using TestSupport::ScratchFolder;
namespace fs = std::filesystem;

// The files tests/hostile/make-corpus writes must each end in a clear failure,
// or a correct result, within the memory their case allows (and a minute).
TEST(HostileInput, EndsInAClearFailureWithinBoundedMemory) {
  ScratchFolder corpus;
  int status = -1;
  const std::string made =
      TestSupport::shell(WHIRLPANE_SOURCE_DIR "/tests/hostile/make-corpus " +
                             TestSupport::quoted(corpus.path().string()) + " 2>&1",
                         &status);
  ASSERT_EQ(status, 0) << made;
  // The exit status, standard error and peak memory (KiB) of converting `file`;
  // time(1) adds a line on the status, and one on the peak.
  const auto convert = [&](const std::string& file, const std::string& format) {
    int exit = -1;
    const std::string err = TestSupport::shell(
        "cd " + TestSupport::quoted(corpus.path().string()) + " && /usr/bin/time -f 'peak %M' " +
            "timeout 60 " WHIRLPANE_BINARY " --convert " + TestSupport::quoted(file) + " --to " +
            format + " 2>&1 >/dev/null",
        &exit);
    const size_t peak = err.rfind("peak "), note = err.rfind("Command ");
    return std::tuple{exit, err.substr(0, std::min(note, peak)), std::stol(err.substr(peak + 5))};
  };
  const std::string tooLarge = "This file is too large to process safely at full resolution.",
                    damaged = ". The file may be damaged or unsupported.";
  // The file, the format asked for, the message and the peak memory allowed (MiB).
  const std::tuple<const char*, const char*, std::string, long> cases[] = {
      {"huge.png", "png", tooLarge, 100},   // declares 100,000 × 100,000
      {"bomb.png", "png", tooLarge, 100},   // 268 MP, its data a 1 GB deflate bomb
      {"huge.tiff", "png", tooLarge, 100},  // declares 100,000 × 100,000, holds 8 bytes
      {"huge.webp", "jpg", tooLarge, 100},  // declares 16,383 × 16,383, holds 11 bytes
      {"canvas.webp", "jpg", "Could not read canvas.webp" + damaged, 100},  // no image in it
      {"huge.heic", "png", tooLarge, 100},  // declares 12,000 × 12,000, holds 64 bytes
      {"frames.gif", "txt",
       "This operation would discard additional image frames. Convert individual frames first.",
       100},
      {"bomb.docx", "txt", tooLarge, 160},  // its document part inflates to 1 GB
      {"laughs.docx", "txt", "Could not read laughs.docx" + damaged, 100},
      {"cyclic.pdf", "png", "Could not read PDF page 1" + damaged, 100},
      {"million.pdf", "png", "Could not read empty PDF" + damaged, 100},  // claims a million pages
      {"sparse.txt", "pdf", tooLarge, 100},                               // 1 GB of nothing
  };
  const auto before = TestSupport::listFolder(corpus.path());
  for (const auto& [file, format, message, boundMiB] : cases) {
    const auto [exit, err, peakKiB] = convert(file, format);
    EXPECT_EQ(std::pair(exit, err), std::pair(1, message + "\n")) << file;
#if !defined(__SANITIZE_ADDRESS__)  // the sanitizers' shadow memory would count too
    EXPECT_LT(peakKiB, boundMiB * 1024) << file;
#endif
  }
  EXPECT_EQ(TestSupport::listFolder(corpus.path()), before);
  // Names no ordinary file has convert like any other.
  for (const char* name : {"line\nbreak.png", "-dash.png", "./--to", "\xff\xfe.png"}) {
    EXPECT_EQ(std::get<0>(convert(name, "jpg")), 0) << name;
    EXPECT_TRUE(fs::exists(corpus / fs::path(name).replace_extension("jpg").string())) << name;
  }
}

// Whatever a conversion killed outright leaves under a real name must be a
// whole file; anything else must be hidden.
TEST(CrashConsistency, AKilledConversionLeavesOnlyWholeFilesAndHiddenOnes) {
  constexpr int pages = 5;
  ScratchFolder work;
  std::vector<TestSupport::PDFPageText> text(pages, {{"Page"}, {}});
  TestSupport::writePDF(work / "original.pdf", text, 144, 144);  // 600 × 600 pixels a page
  const std::string source = TestSupport::readFile(work / "original.pdf");
  int finished = 0;
  // Kills are placed by progress, not by the clock: once `target` pages are
  // staged (0 to all of them), or, past that, once the first page is published.
  for (int target = 0; target <= pages + 1; ++target) {
    const fs::path folder = work / ("trial-" + std::to_string(target));
    fs::create_directories(folder);
    TestSupport::writeFile(folder / "doc.pdf", source);
    const pid_t pid =
        TestSupport::startWhirlpane({"--convert", (folder / "doc.pdf").string(), "--to", "png"});
    for (int status = 0; ::waitpid(pid, &status, WNOHANG) == 0;
         std::this_thread::sleep_for(std::chrono::microseconds(200))) {
      int staged = 0, published = 0;
      try {
        for (const auto& entry : fs::recursive_directory_iterator(folder)) {
          const bool png = entry.path().extension() == ".png";
          (entry.path().parent_path() == folder ? published : staged) += png;
        }
      } catch (const fs::filesystem_error&) {
        continue;  // the staging folder went while being read
      }
      if (target <= pages ? staged >= target : published > 0) {
        ::kill(pid, SIGKILL);
        break;
      }
    }
    TestSupport::waitFor(pid);
    int published = 0;
    EXPECT_EQ(TestSupport::readFile(folder / "doc.pdf"), source)
        << target << ": the source changed";
    for (const std::string& name : TestSupport::listFolder(folder)) {
      // Hidden names are what a killed process cannot remove.
      if (name == "doc.pdf" || name.starts_with(".whirlpane-")) continue;
      const int page =
          name.starts_with("doc-page-") && name.ends_with(".png") ? std::atoi(name.c_str() + 9) : 0;
      EXPECT_TRUE(page >= 1 && page <= pages) << target << ": unexpected " << name;
      // Decoding to the last row fails on any truncation.
      EXPECT_NO_THROW(EXPECT_EQ(MediaEngine::loadImage(folder / name).width(), 600))
          << target << ": " << name << " is not whole";
      ++published;
    }
    finished += published == pages;
  }
  EXPECT_LT(finished, 3) << "the kills came too late";
}

// The writers that put their file straight into its hidden working file:
// killed while the file grows, or at moments spread over the conversion, they
// leave only the source, hidden names, and whole outputs.
TEST(CrashConsistency, AKilledStraightToDiskWriterLeavesNoPartFileInSight) {
  ScratchFolder work;
  TestSupport::startVips();
  TestSupport::saveImage(TestSupport::noisePicture(2400, 1600), work / "photo.jpg", "[Q=95]");
  const std::string source = TestSupport::readFile(work / "photo.jpg");
  int caughtGrowing = 0;
  for (const char* format : {"tiff", "bmp", "png"}) {
    // A negative delay kills once the hidden file holds some bytes; the others
    // after that many milliseconds.
    for (const int delay : {-1, 0, 20, 60, 150, 400}) {
      SCOPED_TRACE(std::string(format) + " " + std::to_string(delay));
      const fs::path folder = work / (std::string(format) + std::to_string(delay));
      fs::create_directories(folder);
      TestSupport::writeFile(folder / "photo.jpg", source);
      const auto started = std::chrono::steady_clock::now();
      const pid_t pid = TestSupport::startWhirlpane(
          {"--convert", (folder / "photo.jpg").string(), "--to", format});
      for (int status = 0; ::waitpid(pid, &status, WNOHANG) == 0;
           std::this_thread::sleep_for(std::chrono::microseconds(200))) {
        bool growing = false;
        try {
          for (const auto& entry : fs::recursive_directory_iterator(folder))
            growing = growing || (entry.path().filename().string().starts_with(".whirlpane-") &&
                                  entry.is_regular_file() && entry.file_size() > 0);
        } catch (const fs::filesystem_error&) {
          continue;  // a working file went while being read
        }
        if (delay < 0
                ? growing
                : std::chrono::steady_clock::now() - started >= std::chrono::milliseconds(delay)) {
          ::kill(pid, SIGKILL);
          caughtGrowing += growing;
          break;
        }
      }
      TestSupport::waitFor(pid);
      EXPECT_EQ(TestSupport::readFile(folder / "photo.jpg"), source);
      for (const std::string& name : TestSupport::listFolder(folder)) {
        if (name == "photo.jpg" || name.starts_with(".whirlpane-")) continue;
        EXPECT_EQ(name, "photo." + std::string(format));
        EXPECT_NO_THROW(EXPECT_EQ(MediaEngine::loadImage(folder / name).width(), 2400))
            << name << " is not whole";
      }
    }
  }
  EXPECT_GE(caughtGrowing, 2) << "no kill came while a file was being written";
}

// Conversions at once beside a squatter that keeps taking, one after another,
// every name they may publish, each holding a mark it checks before removing
// it again; with noclobber it never replaces a file itself.
TEST(ConcurrencyStress, ManyConversionsAndASquatterNeverOverwriteAnything) {
  constexpr int processes = 4, conversionsEach = 12;
  TestSupport::startVips();
  ScratchFolder work;
  const fs::path folder = work / "shared";
  fs::create_directories(folder);
  TestSupport::saveImage(TestSupport::testPicture(64, 48), folder / "photo.jpg");
  TestSupport::writePDF(folder / "doc.pdf", {{{"Page"}, {}}, {{"Page"}, {}}}, 144, 144);
  TestSupport::writeFile(folder / "notes.txt", "Notes for the stress run\n");
  std::map<std::string, std::string> sources;
  for (const std::string& name : TestSupport::listFolder(folder))
    sources[name] = TestSupport::readFile(folder / name);
  const std::vector<std::string> sourceNames{"photo.jpg", "doc.pdf", "notes.txt"},
      formats{"png", "jpg", "pdf"};
  // Its stop signal, findings and count are in the folder above.
  std::thread squatter([&] {
    TestSupport::shell(
        "cd " + TestSupport::quoted(folder.string()) +
        " && set -C && i=0 && n=0 && until [ -e ../stop ]; do "
        "for s in photo doc-page-1 doc-page-2 notes; do for e in png jpg pdf; do "
        "for k in 1 2 3 4 5 6 7 8 9 10 11 12; do f=\"$s $k.$e\"; "
        "[ $k = 1 ] && f=\"$s.$e\"; i=$((i + 1)); "
        "if echo \"mark $i\" 2>/dev/null > \"$f\"; then n=$((n + 1)); "
        "[ \"$(cat \"$f\")\" = \"mark $i\" ] || echo \"$f changed\" >> ../violations; "
        "rm -f \"$f\"; fi; done; done; done; done; echo $n > ../taken");
  });
  std::mutex lock;
  int expected = 0;
  std::vector<std::thread> workers;
  for (int p = 0; p < processes; ++p) {
    workers.emplace_back([&, p] {
      for (int i = 0; i < conversionsEach; ++i) {
        const std::string& source = sourceNames[(i + p) % sourceNames.size()];
        const std::string& format = formats[(i / sourceNames.size() + p) % formats.size()];
        const auto result =
            TestSupport::runWhirlpane({"--convert", (folder / source).string(), "--to", format});
        const std::lock_guard guard(lock);
        expected += source == "doc.pdf" && format != "pdf" ? 2 : 1;
        EXPECT_EQ(result.status, 0) << source << " to " << format << ": " << result.err;
      }
    });
  }
  for (std::thread& worker : workers) worker.join();
  TestSupport::writeFile(work / "stop", "");
  squatter.join();

  EXPECT_FALSE(fs::exists(work / "violations")) << TestSupport::readFile(work / "violations");
  EXPECT_GT(std::stoi(TestSupport::readFile(work / "taken")), 200) << "the squatter hardly ran";
  for (const auto& [name, content] : sources)
    EXPECT_EQ(TestSupport::readFile(folder / name), content) << name << " changed";
  // Each output has a name of its own, and nothing else is left.
  EXPECT_EQ(TestSupport::listFolder(folder).size(), sources.size() + expected);
}

}  // namespace
