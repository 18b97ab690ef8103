#include "app/desktop/launch_options.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace Whirlpane {
namespace {

namespace fs = std::filesystem;

TEST(LaunchOptions, FollowTheLaunchRules) {
  const fs::path here = fs::current_path();
  const struct {
    std::vector<std::string> arguments;
    std::optional<fs::path> open;
    std::optional<std::string> editor;
    bool tools, testing;
    std::vector<fs::path> files;
  } cases[] = {
      {{"whirlpane"}, {}, {}, false, false, {}},
      // "--open" as the last argument counts as absent.
      {{"whirlpane", "--open"}, {}, {}, false, false, {}},
      {{"whirlpane", "--open", "/p/a.jpg", "--tools"}, "/p/a.jpg", {}, true, false, {}},
      {{"whirlpane", "--tools", "--open", "b.png"}, here / "b.png", {}, true, false, {}},
      {{"whirlpane", "--open", "/p/a.jpg", "--editor", "crop"},
       "/p/a.jpg",
       "crop",
       false,
       false,
       {}},
      // "--editor" without "--open" has no effect.
      {{"whirlpane", "--editor", "crop"}, {}, {}, false, false, {}},
      {{"whirlpane", "--test-mode", "--editor"}, {}, {}, false, true, {}},
      // Open With: paths and file URIs; other URIs and values of options are no files.
      {{"whirlpane", "/p/a.jpg", "file:///p/with%20space.png", "file://localhost/p/c.pdf",
        "file://elsewhere/p/d.png", "https://example.org/e.png", "--open", "/p/o.gif", "rel.bmp"},
       "/p/o.gif",
       {},
       false,
       false,
       {"/p/a.jpg", "/p/with space.png", "/p/c.pdf", here / "rel.bmp"}},
      // A malformed escape or an escaped NUL names no file.
      {{"whirlpane", "file:///p/bad%zz.png", "file:///p/nul%00.png", "file:///p/end%2"},
       {},
       {},
       false,
       false,
       {}},
  };
  for (const auto& c : cases) {
    const LaunchOptions options = parseLaunchOptions(c.arguments);
    const std::string shown = testing::PrintToString(c.arguments);
    EXPECT_EQ(options.open, c.open) << shown;
    EXPECT_EQ(options.editor, c.editor) << shown;
    EXPECT_EQ(options.tools, c.tools) << shown;
    EXPECT_EQ(options.testing, c.testing) << shown;
    EXPECT_EQ(options.files, c.files) << shown;
  }
}

TEST(LaunchOptions, OnlyTheTwelveSourceExtensionsAreSupported) {
  const std::vector<fs::path> offered{"/a.PNG",  "/b.jpeg", "/c.txt", "/d",     "/e.Heif", "/f.pdf",
                                      "/g.docx", "/h.tif",  "/.gif",  "/i.gif", "/j.AVIF"};
  EXPECT_EQ(supportedOnly(offered), (std::vector<fs::path>{"/a.PNG", "/b.jpeg", "/e.Heif", "/f.pdf",
                                                           "/h.tif", "/i.gif", "/j.AVIF"}));
}

}  // namespace
}  // namespace Whirlpane
