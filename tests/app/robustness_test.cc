// The program run as a user runs it, in adversity: crafted files, odd names,
// kill -9 at every stage of a conversion, and many conversions at once beside
// a process that keeps taking the names they are about to use.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>

#include <chrono>
#include <map>
#include <mutex>
#include <set>
#include <thread>

#include "image/image.h"
#include "image/image_decoding.h"
#include "office/zip_reader.h"
#include "pdf/pdf_document.h"
#include "pdf/pdf_writer.h"
#include "tests/support/test_support.h"
#include "tests/support/text_fixtures.h"
#include "whirlpane/formats.h"

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
  // The exit status, standard error and peak memory (KiB) of converting `file`.
  const auto convert = [&](const std::string& file, const std::string& format) {
    const fs::path peak = corpus / ".peak", err = corpus / ".err";
    int exit = -1;
    TestSupport::shell("cd " + TestSupport::quoted(corpus.path().string()) +
                           " && /usr/bin/time -f %M -o " + TestSupport::quoted(peak.string()) +
                           " timeout 60 " WHIRLPANE_BINARY " --convert " +
                           TestSupport::quoted(file) + " --to " + format + " >/dev/null 2>" +
                           TestSupport::quoted(err.string()),
                       &exit);
    const std::string kib = TestSupport::readFile(peak);  // after a line on the exit status
    const std::tuple run{exit, TestSupport::readFile(err),
                         std::stol(kib.substr(kib.find_last_of('\n', kib.size() - 2) + 1))};
    fs::remove(peak);
    fs::remove(err);
    return run;
  };
  const std::string tooLarge = "This file is too large to process safely at full resolution.";
  const auto damaged = [](const std::string& name) {
    return "Could not read " + name + ". The file may be damaged or unsupported.";
  };
  // The file, the format asked for, the message and the peak memory allowed (MiB).
  const std::tuple<const char*, const char*, std::string, long> cases[] = {
      {"huge.png", "png", tooLarge, 100},   // declares 100,000 × 100,000
      {"bomb.png", "png", tooLarge, 100},   // 268 MP, its data a 1 GB deflate bomb
      {"huge.tiff", "png", tooLarge, 100},  // declares 100,000 × 100,000, holds 8 bytes
      {"huge.webp", "jpg", tooLarge, 100},  // declares 16,383 × 16,383, holds 11 bytes
      {"canvas.webp", "jpg", damaged("canvas.webp"), 100},  // a 16,384 × 16,384 canvas, no image
      {"huge.heic", "png", tooLarge, 100},  // declares 12,000 × 12,000, holds 64 bytes
      {"frames.gif", "txt",
       "This operation would discard additional image frames. Convert individual frames first.",
       100},
      {"bomb.docx", "txt", tooLarge, 160},  // its document part inflates to 1 GB
      {"laughs.docx", "txt", damaged("laughs.docx"), 100},
      {"cyclic.pdf", "png", damaged("PDF page 1"), 100},
      {"million.pdf", "png", damaged("empty PDF"), 100},
      {"sparse.txt", "pdf", tooLarge, 100},  // 1 GB of nothing
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
  for (const char* name :
       {"line\nbreak.png", "-dash.png", "./--to", "caf\xe9.png", "\xff\xfe.png"}) {
    EXPECT_EQ(std::get<0>(convert(name, "jpg")), 0) << name;
    EXPECT_TRUE(fs::exists(corpus / fs::path(name).replace_extension("jpg").string())) << name;
  }
}

// Whatever a conversion killed outright leaves under a real name must be a
// whole file; anything else must be hidden.
TEST(CrashConsistency, AKilledConversionLeavesOnlyWholeFilesAndHiddenOnes) {
  constexpr int pages = 10, trials = 2 * (pages + 2);  // every kill point twice
  ScratchFolder work;
  std::vector<TestSupport::PDFPageText> text(pages, {{"Page"}, {}});
  TestSupport::writePDF(work / "original.pdf", text, 144, 144);  // 600 × 600 pixels a page
  const std::string source = TestSupport::readFile(work / "original.pdf");
  int finished = 0;
  for (int trial = 0; trial < trials; ++trial) {
    const fs::path folder = work / ("trial-" + std::to_string(trial));
    fs::create_directories(folder);
    TestSupport::writeFile(folder / "doc.pdf", source);
    const pid_t pid =
        TestSupport::startWhirlpane({"--convert", (folder / "doc.pdf").string(), "--to", "png"});
    // Kills are placed by progress, not by the clock, so that other work on
    // the machine does not move them: once `target` pages are staged (0 to
    // all of them), or, past that, once the first page is published.
    const int target = trial % (pages + 2);
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
    for (const std::string& name : TestSupport::listFolder(folder)) {
      if (name.starts_with(".whirlpane-")) continue;  // what a killed process cannot remove
      if (name == "doc.pdf") {
        EXPECT_EQ(TestSupport::readFile(folder / name), source) << trial << ": the source changed";
        continue;
      }
      const int page =
          name.starts_with("doc-page-") && name.ends_with(".png") ? std::atoi(name.c_str() + 9) : 0;
      EXPECT_TRUE(page >= 1 && page <= pages) << trial << ": unexpected " << name;
      // Decoding to the last row fails on any truncation.
      try {
        const MediaEngine::Image image = MediaEngine::loadImage(folder / name);
        EXPECT_EQ(std::pair(image.width(), image.height()), std::pair(600, 600)) << trial << name;
      } catch (const std::exception& error) {
        ADD_FAILURE() << trial << ": " << name << " is not whole: " << error.what();
      }
      ++published;
    }
    finished += published == pages;
    fs::remove_all(folder);
  }
  EXPECT_LT(finished, trials / 2) << "the kills came too late";
}

TEST(ConcurrencyStress, ManyConversionsAndASquatterNeverOverwriteAnything) {
  constexpr int processes = 6, conversionsEach = 25;
  TestSupport::startVips();
  ScratchFolder work;
  const fs::path folder = work / "shared";
  fs::create_directories(folder);
  TestSupport::saveImage(TestSupport::textPicture({"Photo words"}), folder / "photo.jpg");
  TestSupport::saveImage(TestSupport::textPicture({"Scan words"}), folder / "scan.png");
  TestSupport::writePDF(folder / "doc.pdf", {{{"Page"}, {}}, {{"Page"}, {}}}, 144, 144);
  TestSupport::writeFile(folder / "notes.txt", "Notes for the stress run\n");
  TestSupport::writeDocx(
      folder / "letter.docx",
      TestSupport::wordDocument("<w:p><w:r><w:t>Letter words</w:t></w:r></w:p>"));
  std::map<std::string, std::string> sources;
  for (const std::string& name : TestSupport::listFolder(folder))
    sources[name] = TestSupport::readFile(folder / name);
  const std::vector<std::string> sourceNames{"photo.jpg", "scan.png", "doc.pdf", "notes.txt",
                                             "letter.docx"};
  const std::vector<std::string> formats{"png", "jpg", "pdf", "docx", "txt"};

  // The squatter takes, one after another, every name the conversions may
  // publish (numbered ones too), each holding a mark it checks before removing
  // it again; with noclobber it never replaces a file itself.
  std::string names;
  for (const char* stem : {"photo", "scan", "doc-page-1", "doc-page-2", "notes", "letter"}) {
    for (const std::string& ext : formats) {
      for (int n = 1; n <= 12; ++n)
        names +=
            " " + TestSupport::quoted(stem + (n == 1 ? "" : " " + std::to_string(n)) + "." + ext);
    }
  }
  const fs::path stop = work / "stop", violations = work / "violations", taken = work / "taken";
  std::thread squatter([&] {
    TestSupport::shell(
        "cd " + TestSupport::quoted(folder.string()) + " && set -C && i=0 && n=0 && until [ -e " +
        TestSupport::quoted(stop.string()) + " ]; do for f in" + names +
        "; do i=$((i + 1)); if echo \"mark $i\" > \"$f\" 2>/dev/null; then n=$((n + 1)); "
        "[ \"$(cat \"$f\")\" = \"mark $i\" ] || echo \"$f changed\" >> " +
        TestSupport::quoted(violations.string()) + "; rm -f \"$f\"; fi; done; done; echo $n > " +
        TestSupport::quoted(taken.string()));
  });
  std::mutex lock;
  std::vector<std::string> written, failures;
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
        expected += source == "doc.pdf" && MediaEngine::isRaster(format) ? 2 : 1;
        if (result.status != 0) failures.push_back(source + " to " + format + ": " + result.err);
        for (size_t start = 0, end; (end = result.out.find('\n', start)) != std::string::npos;
             start = end + 1)
          written.push_back(result.out.substr(start, end - start));
      }
    });
  }
  for (std::thread& worker : workers) worker.join();
  TestSupport::writeFile(stop, "");
  squatter.join();

  EXPECT_TRUE(failures.empty()) << failures.size() << " failed, first: " << failures.front();
  EXPECT_EQ(static_cast<int>(written.size()), expected);
  EXPECT_EQ(std::set(written.begin(), written.end()).size(), written.size()) << "a name used twice";
  EXPECT_FALSE(fs::exists(violations)) << TestSupport::readFile(violations);
  EXPECT_GT(std::stoi(TestSupport::readFile(taken)), 500) << "the squatter hardly ran";
  for (const auto& [name, content] : sources)
    EXPECT_EQ(TestSupport::readFile(folder / name), content) << name << " changed";
  // Every output is whole, and the folder holds exactly the sources and outputs.
  for (const fs::path file : written) {
    if (file.extension() == ".pdf") {
      EXPECT_NO_THROW(MediaEngine::pdf(file)) << file;
    } else if (file.extension() == ".png" || file.extension() == ".jpg") {
      EXPECT_NO_THROW(MediaEngine::loadImage(file)) << file;
    } else if (file.extension() == ".docx") {
      EXPECT_NO_THROW(MediaEngine::detail::packageMember(file, "word/document.xml", 1 << 24))
          << file;
    } else {
      EXPECT_FALSE(TestSupport::readFile(file).empty()) << file;
    }
  }
  EXPECT_EQ(TestSupport::listFolder(folder).size(), sources.size() + written.size());
  EXPECT_TRUE(TestSupport::workingFilesIn(folder).empty());
}

}  // namespace
