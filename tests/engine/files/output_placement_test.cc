#include "files/output_placement.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "tests/support/test_support.h"
#include "whirlpane/failure.h"

namespace MediaEngine {
namespace {

using TestSupport::failureText;
using TestSupport::readFile;
using TestSupport::ScratchFolder;
using TestSupport::writeFile;
namespace fs = std::filesystem;

TEST(UniqueSibling, NamesFromBaseSuffixAndExtensionSkippingEveryTakenName) {
  ScratchFolder folder;
  // A name at the file system's limit gives way at a character boundary.
  std::string accents;
  for (int i = 0; i < 124; ++i) accents += "\u00e9";
  const std::string longest = "Ferien " + accents, cut = "Ferien " + accents.substr(0, 232);
  const std::tuple<std::string, std::string, std::string, std::string> cases[] = {
      {"photo.jpg", "", "png", "photo.png"},
      {"scan.pdf", "-page-3", "jpg", "scan-page-3.jpg"},
      {"a.b.heic", "-clean", "heic", "a.b-clean.heic"},
      {"photo.jpg", "a/b", "png", "photoa-b.png"},
      {"photo.jpg", "", "..p/ng..", "photo.png"},
      {"photo.jpg", std::string("-a\0b", 4), std::string("p\0ng", 4), "photo-ab.png"},
      {"README", "", "txt", "README.txt"},
      {"photo.jpg", "", "", "photo"},
      {".hidden", "", "png", ".hidden.png"},
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
  EXPECT_EQ(readFile(destination), payload);
  publish(Bytes(), folder / "empty.txt", 0666);
  EXPECT_EQ(fs::file_size(folder / "empty.txt"), 0u);
  EXPECT_EQ(TestSupport::listFolder(folder.path()),
            (std::vector<std::string>{"empty.txt", "out.png"}));
  const std::string missing =
      failureText([&] { publish(Bytes::copyOf("x"), folder / "none" / "out.png", 0666); });
  EXPECT_NE(missing.find((folder / "none").string()), std::string::npos) << missing;
  EXPECT_NE(missing.find("No such file or directory"), std::string::npos) << missing;
}

TEST(Publish, BothExclusiveRenamesRefuseTakenNames) {
  for (auto rename : {&detail::renameExclusive, &detail::linkThenUnlink}) {
    ScratchFolder folder;
    writeFile(folder / "from", "new");
    writeFile(folder / "taken", "old");
    EXPECT_EQ(rename(folder / "from", folder / "taken"), EEXIST);
    EXPECT_EQ(readFile(folder / "taken"), "old");
    EXPECT_EQ(rename(folder / "from", folder / "free"), 0);
    EXPECT_EQ(readFile(folder / "free"), "new");
    EXPECT_FALSE(fs::exists(folder / "from"));
  }
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
  EXPECT_EQ(publishBeside(source, "-page-1", "png", Bytes::copyOf("again")),
            folder / "scan-page-1 2.png");

  // A name longer than the file system allows makes the third rename fail.
  BatchFolder batch(source, "txt");
  for (const std::string& suffix : {std::string("-a"), std::string("-b"), std::string(300, 'x')})
    batch.stage(Bytes::copyOf(suffix), suffix);
  EXPECT_EQ(failureText([&] { batch.publish(); }),
            "Could not create the output: File name too long Already saved: scan-a.txt, "
            "scan-b.txt.");
  EXPECT_THROW(BatchFolder(folder / "missing" / "photo.jpg", "png"), FileError);
  // Working folders elsewhere are as private, and each is new.
  const fs::path first = temporaryDirectory(), second = temporaryDirectory();
  EXPECT_NE(first, second);
  EXPECT_EQ(first.parent_path(), fs::temp_directory_path());
  EXPECT_EQ(fs::status(first).permissions(), fs::perms::owner_all);
  fs::remove_all(first);
  fs::remove_all(second);
}

}  // namespace
}  // namespace MediaEngine
