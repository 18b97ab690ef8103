// Eight processes converting sources in one folder at once, fifty conversions
// each, while another process keeps taking and freeing the very names they are
// about to use.
#include <gtest/gtest.h>

#include <atomic>
#include <map>
#include <mutex>
#include <set>
#include <thread>

#include "image/image.h"
#include "image/image_decoding.h"
#include "pdf/pdf_document.h"
#include "pdf/pdf_writer.h"
#include "tests/support/test_support.h"
#include "tests/support/text_fixtures.h"
#include "whirlpane/formats.h"

namespace {

using TestSupport::ScratchFolder;
namespace fs = std::filesystem;

constexpr int processes = 8;
constexpr int conversionsEach = 50;

// Names the conversions below will publish: each stem with each format, plain
// and numbered up to what the run can reach.
std::string squatterScript(const fs::path& folder, const fs::path& stop, const fs::path& violations,
                           const fs::path& count) {
  std::string names;
  for (const char* stem : {"photo", "scan", "doc-page-1", "doc-page-2", "notes", "letter"}) {
    for (const char* ext : {"png", "jpg", "pdf", "docx", "txt"}) {
      for (int n = 1; n <= 12; ++n) {
        const std::string name =
            std::string(stem) + (n == 1 ? "" : " " + std::to_string(n)) + "." + ext;
        names += " " + TestSupport::quoted(name);
      }
    }
  }
  // noclobber: the squatter itself never replaces a file either. Each file it
  // makes holds a marker it checks before removing the file again.
  return "cd " + TestSupport::quoted(folder.string()) +
         " && set -C && i=0 && taken=0 && while [ ! -e " + TestSupport::quoted(stop.string()) +
         " ]; do for n in" + names +
         "; do i=$((i + 1)); if echo \"squatter $i\" > \"$n\" 2>/dev/null; then taken=$((taken + "
         "1)); "
         "[ \"$(cat \"$n\")\" = \"squatter $i\" ] || echo \"$n changed\" >> " +
         TestSupport::quoted(violations.string()) +
         "; rm -f \"$n\"; fi; done; done; echo $taken > " + TestSupport::quoted(count.string());
}

TEST(ConcurrencyStress, ManyConversionsAndASquatterNeverOverwriteAnything) {
  TestSupport::startVips();
  ScratchFolder work;
  const fs::path folder = work / "shared";
  fs::create_directories(folder);
  TestSupport::saveImage(TestSupport::textPicture({"Photo words"}), folder / "photo.jpg", "[Q=90]");
  TestSupport::saveImage(TestSupport::textPicture({"Stress words"}), folder / "scan.png");
  const MediaEngine::Image small(TestSupport::textPicture({"Page words"}));
  TestSupport::writeFile(work / "page.pdf", MediaEngine::imagePDF(small).text());
  TestSupport::shell("qpdf --empty --pages " + TestSupport::quoted((work / "page.pdf").string()) +
                     " " + TestSupport::quoted((work / "page.pdf").string()) + " -- " +
                     TestSupport::quoted((folder / "doc.pdf").string()));
  TestSupport::writeFile(folder / "notes.txt", "Notes for the stress run\n");
  TestSupport::writeDocx(
      folder / "letter.docx",
      TestSupport::wordDocument("<w:p><w:r><w:t>Letter words</w:t></w:r></w:p>"));
  std::map<std::string, std::string> sources;
  for (const std::string& name : TestSupport::listFolder(folder))
    sources[name] = TestSupport::readFile(folder / name);

  const fs::path stop = work / "stop", violations = work / "violations", taken = work / "taken";
  std::thread squatter(
      [&] { TestSupport::shell(squatterScript(folder, stop, violations, taken)); });

  const std::vector<std::string> sourceNames{"photo.jpg", "scan.png", "doc.pdf", "notes.txt",
                                             "letter.docx"};
  const std::vector<std::string> formats{"png", "jpg", "pdf", "docx", "txt"};
  std::mutex lock;
  std::vector<std::string> written, failures;
  int expectedOutputs = 0;
  std::vector<std::thread> workers;
  for (int p = 0; p < processes; ++p) {
    workers.emplace_back([&, p] {
      for (int i = 0; i < conversionsEach; ++i) {
        const std::string& source = sourceNames[static_cast<size_t>(i + p) % sourceNames.size()];
        const std::string& format =
            formats[static_cast<size_t>(i / sourceNames.size() + p) % formats.size()];
        const TestSupport::RunResult result =
            TestSupport::runWhirlpane({"--convert", (folder / source).string(), "--to", format});
        const bool pages = source == "doc.pdf" && MediaEngine::isRaster(format);
        const std::lock_guard guard(lock);
        expectedOutputs += pages ? 2 : 1;
        if (result.status != 0) {
          failures.push_back(source + " to " + format + ": " + result.err);
          continue;
        }
        for (size_t start = 0; start < result.out.size();) {
          const size_t end = result.out.find('\n', start);
          written.push_back(result.out.substr(start, end - start));
          start = end + 1;
        }
      }
    });
  }
  for (std::thread& worker : workers) worker.join();
  TestSupport::writeFile(stop, "");
  squatter.join();

  EXPECT_TRUE(failures.empty()) << failures.size() << " failed, first: " << failures.front();
  EXPECT_EQ(static_cast<int>(written.size()), expectedOutputs);
  EXPECT_EQ(std::set<std::string>(written.begin(), written.end()).size(), written.size())
      << "a name was used twice";
  EXPECT_FALSE(fs::exists(violations)) << TestSupport::readFile(violations);
  EXPECT_GT(std::stoi(TestSupport::readFile(taken)), 1000) << "the squatter hardly ran";
  for (const auto& [name, content] : sources) {
    EXPECT_EQ(TestSupport::readFile(folder / name), content) << name << " changed";
  }
  // Every output is whole, and what is in the folder is exactly sources plus outputs.
  for (const std::string& path : written) {
    const fs::path file(path);
    const std::string ext = file.extension().string();
    if (ext == ".png" || ext == ".jpg") {
      EXPECT_NO_THROW(MediaEngine::loadImage(file)) << path;
    } else if (ext == ".pdf") {
      EXPECT_NO_THROW(MediaEngine::pdf(file)) << path;
    } else if (ext == ".docx") {
      int status = -1;
      TestSupport::shell("unzip -tq " + TestSupport::quoted(path) + " >/dev/null 2>&1", &status);
      EXPECT_EQ(status, 0) << path;
    } else {
      EXPECT_FALSE(TestSupport::readFile(file).empty()) << path;
    }
  }
  EXPECT_EQ(TestSupport::listFolder(folder).size(), sources.size() + written.size());
  EXPECT_TRUE(TestSupport::workingFilesIn(folder).empty());
}

}  // namespace
