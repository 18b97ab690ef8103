#include "files/output_placement.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <regex>
#include <set>
#include <thread>

#include "tests/support/test_support.h"
#include "whirlpane/failure.h"
#include "whirlpane/formats.h"

namespace MediaEngine {
namespace {

using TestSupport::readFile;
using TestSupport::ScratchFolder;
using TestSupport::writeFile;
namespace fs = std::filesystem;

TEST(UniqueSibling, BuildsNamesFromBaseSuffixAndExtension) {
  ScratchFolder folder;
  struct Case {
    const char* source;
    const char* suffix;
    const char* ext;
    const char* expected;
  };
  const Case cases[] = {
      {"photo.jpg", "", "png", "photo.png"},
      {"scan.pdf", "-page-3", "jpg", "scan-page-3.jpg"},
      {"a.b.heic", "-clean", "heic", "a.b-clean.heic"},
      {"photo.jpg", "a/b", "png", "photoa-b.png"},
      {"photo.jpg", "", ".png", "photo.png"},
      {"photo.jpg", "", "png.", "photo.png"},
      {"photo.jpg", "", "..p/ng..", "photo.png"},
      {"README", "", "txt", "README.txt"},
      {"photo.jpg", "", "", "photo"},
      {".hidden", "", "png", ".hidden.png"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(uniqueSibling(folder / c.source, c.suffix, c.ext), folder / c.expected)
        << c.source << " " << c.ext;
  }
}

TEST(UniqueSibling, NulBytesNeverTruncateTheName) {
  ScratchFolder folder;
  const std::string suffix("-a\0b", 4);
  const std::string ext("p\0ng", 4);
  EXPECT_EQ(uniqueSibling(folder / "photo.jpg", suffix, ext), folder / "photo-ab.png");
}

TEST(UniqueSibling, SkipsEveryTakenNameIncludingDanglingLinks) {
  ScratchFolder folder;
  const fs::path source = folder / "photo.png";
  writeFile(source, "source");
  // The source itself holds photo.png.
  EXPECT_EQ(uniqueSibling(source, "", "png"), folder / "photo 2.png");
  fs::create_symlink(folder / "nowhere", folder / "photo 2.png");
  EXPECT_EQ(uniqueSibling(source, "", "png"), folder / "photo 3.png");
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
  EXPECT_EQ(readFile(destination), payload);

  try {
    publish(Bytes::copyOf(std::string_view("other")), destination, 0666);
    FAIL() << "replaced an existing file";
  } catch (const Failure& failure) {
    EXPECT_EQ(failure.kind(), Failure::Kind::exists);
    EXPECT_EQ(std::string(failure.what()),
              "out.png already exists. Choose a different output filename.");
  }
  EXPECT_EQ(readFile(destination), payload);
  EXPECT_EQ(TestSupport::listFolder(folder.path()), std::vector<std::string>{"out.png"});
}

TEST(Publish, EmptyBytesMakeAnEmptyFile) {
  ScratchFolder folder;
  publish(Bytes(), folder / "empty.txt", 0666);
  EXPECT_EQ(fs::file_size(folder / "empty.txt"), 0u);
}

TEST(Publish, FileSystemErrorsNameTheProblemAndThePath) {
  ScratchFolder folder;
  const fs::path missing = folder / "no such folder" / "out.png";
  try {
    publish(Bytes::copyOf(std::string_view("x")), missing, 0666);
    FAIL() << "wrote into a missing folder";
  } catch (const FileError& error) {
    EXPECT_EQ(error.code().value(), ENOENT);
    const std::string message = error.what();
    EXPECT_NE(message.find((folder / "no such folder").string()), std::string::npos) << message;
    EXPECT_NE(message.find("No such file or directory"), std::string::npos) << message;
  }
}

TEST(Publish, ConcurrentWritersToOneNameLeaveOneWinner) {
  ScratchFolder folder;
  const fs::path destination = folder / "contested.bin";
  std::atomic<int> winners = 0, losers = 0;
  std::vector<std::thread> threads;
  for (int t = 0; t < 16; ++t) {
    threads.emplace_back([&, t] {
      try {
        publish(Bytes::copyOf(std::string(100000, static_cast<char>('a' + t))), destination, 0666);
        ++winners;
      } catch (const Failure& failure) {
        if (failure.kind() == Failure::Kind::exists) ++losers;
      }
    });
  }
  for (auto& thread : threads) thread.join();
  EXPECT_EQ(winners, 1);
  EXPECT_EQ(losers, 15);
  const std::string content = readFile(destination);
  ASSERT_EQ(content.size(), 100000u);
  EXPECT_EQ(content.find_first_not_of(content[0]), std::string::npos)
      << "bytes of two writers mixed";
  EXPECT_TRUE(TestSupport::workingFilesIn(folder.path()).empty());
}

TEST(PublishBeside, MovesOnToTheNextFreeName) {
  ScratchFolder folder;
  const fs::path source = folder / "a.jpg";
  writeFile(source, "jpeg");
  EXPECT_EQ(publishBeside(source, "-clean", "jpg", Bytes::copyOf(std::string_view("1"))),
            folder / "a-clean.jpg");
  EXPECT_EQ(publishBeside(source, "-clean", "jpg", Bytes::copyOf(std::string_view("2"))),
            folder / "a-clean 2.jpg");
  EXPECT_EQ(readFile(folder / "a-clean.jpg"), "1");
}

TEST(ExclusiveRename, BothPrimitivesMoveOntoFreeNamesAndRefuseTakenOnes) {
  for (auto rename : {&detail::renameExclusive, &detail::linkThenUnlink}) {
    ScratchFolder folder;
    writeFile(folder / "from", "new");
    writeFile(folder / "taken", "old");
    EXPECT_EQ(rename(folder / "from", folder / "taken"), EEXIST);
    EXPECT_EQ(readFile(folder / "taken"), "old");
    EXPECT_EQ(readFile(folder / "from"), "new");
    EXPECT_EQ(rename(folder / "from", folder / "free"), 0);
    EXPECT_EQ(readFile(folder / "free"), "new");
    EXPECT_FALSE(fs::exists(folder / "from"));
  }
}

TEST(BatchFolder, StagesHiddenAndPublishesInOrderWithSuffixes) {
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
    struct stat info;
    ASSERT_EQ(::stat(staging.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);
    for (int page = 1; page <= 3; ++page) {
      batch.stage(Bytes::copyOf(std::string("page ") + std::to_string(page)),
                  "-page-" + std::to_string(page));
    }
    EXPECT_TRUE(fs::exists(staging / "0.png"));
    EXPECT_TRUE(fs::exists(staging / "2.png"));
    published = batch.publish();
  }
  const std::vector<fs::path> expected{folder / "scan-page-1.png", folder / "scan-page-2 2.png",
                                       folder / "scan-page-3.png"};
  EXPECT_EQ(published, expected);
  EXPECT_EQ(readFile(folder / "scan-page-2 2.png"), "page 2");
  EXPECT_EQ(readFile(folder / "scan-page-2.png"), "taken");
  EXPECT_FALSE(fs::exists(staging));
}

TEST(BatchFolder, APublishingFailureNamesWhatWasAlreadySaved) {
  ScratchFolder folder;
  const fs::path source = folder / "scan.pdf";
  writeFile(source, "%PDF");
  BatchFolder batch(source, "png");
  batch.stage(Bytes::copyOf(std::string_view("1")), "-page-1");
  batch.stage(Bytes::copyOf(std::string_view("2")), "-page-2");
  // A name longer than the file system allows makes the third rename fail.
  batch.stage(Bytes::copyOf(std::string_view("3")), std::string(300, 'x'));
  try {
    batch.publish();
    FAIL() << "published a name that cannot exist";
  } catch (const Failure& failure) {
    EXPECT_EQ(failure.kind(), Failure::Kind::encoding);
    EXPECT_EQ(std::string(failure.what()),
              "Could not create the output: File name too long Already saved: scan-page-1.png, "
              "scan-page-2.png.");
  }
  EXPECT_EQ(readFile(folder / "scan-page-1.png"), "1");
}

TEST(BatchFolder, CannotBeCreatedBesideAMissingFolder) {
  ScratchFolder folder;
  EXPECT_THROW(BatchFolder(folder / "missing" / "photo.jpg", "png"), FileError);
}

TEST(TemporaryDirectory, IsPrivateFreshAndNamedWithAUUID) {
  const fs::path first = temporaryDirectory();
  const fs::path second = temporaryDirectory();
  EXPECT_NE(first, second);
  EXPECT_EQ(first.parent_path(), fs::temp_directory_path());
  EXPECT_TRUE(std::regex_match(
      first.filename().string(),
      std::regex("Whirlpane-[0-9A-F]{8}-[0-9A-F]{4}-4[0-9A-F]{3}-[89AB][0-9A-F]{3}-[0-9A-F]{12}")));
  struct stat info;
  ASSERT_EQ(::stat(first.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0700u);
  EXPECT_TRUE(fs::is_empty(first));
  fs::remove_all(first);
  fs::remove_all(second);
}

TEST(UUID, IsVersionFourUpperCaseAndDoesNotRepeat) {
  std::set<std::string> seen;
  const std::regex shape("[0-9A-F]{8}-[0-9A-F]{4}-4[0-9A-F]{3}-[89AB][0-9A-F]{3}-[0-9A-F]{12}");
  for (int i = 0; i < 2000; ++i) {
    const std::string uuid = newUUID();
    ASSERT_TRUE(std::regex_match(uuid, shape)) << uuid;
    seen.insert(uuid);
  }
  EXPECT_EQ(seen.size(), 2000u);
}

}  // namespace
}  // namespace MediaEngine
