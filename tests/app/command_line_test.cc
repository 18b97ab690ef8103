// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace Whirlpane {
namespace {

using Mode = Invocation::Mode;

struct Case {
  std::vector<std::string> arguments;  // after the program path
  Mode mode;
  std::string source;
  std::string format;
};

TEST(CommandLine, DecidesTheModeFromTheArgumentsAlone) {
  const std::vector<Case> cases{
      {{}, Mode::application, "", ""},
      {{"--convert", "photo.jpg", "--to", "png"}, Mode::convert, "photo.jpg", "png"},
      {{"--to", "png", "--convert", "photo.jpg"}, Mode::convert, "photo.jpg", "png"},
      {{"--convert", "photo.jpg"}, Mode::usageError, "", ""},
      // Values are positional: an option-looking value is still a value.
      {{"--convert", "--to", "png"}, Mode::convert, "--to", "png"},
      {{"--convert", " a.jpg ", "--to", "--version"}, Mode::convert, " a.jpg ", "--version"},
      // The first occurrence of each option counts.
      {{"--convert", "a.jpg", "--convert", "b.jpg", "--to", "png", "--to", "jpg"},
       Mode::convert,
       "a.jpg",
       "png"},
      {{"--version", "--convert", "a.png", "--to", "jpg"}, Mode::convert, "a.png", "jpg"},
      {{"--version"}, Mode::version, "", ""},
      {{"--help"}, Mode::help, "", ""},
      // Exact, case-sensitive, whole-argument matching only.
      {{"--convert", "a.jpg", "--TO", "png"}, Mode::usageError, "", ""},
      // The file operations rank below --convert.
      {{"--metadata", "a.jpg"}, Mode::metadata, "a.jpg", ""},
      {{"--metadata", "a.jpg", "--convert", "b.jpg", "--to", "png"}, Mode::convert, "b.jpg", "png"},
      {{"--compress", "a.jpg", "--quality", "0.5"}, Mode::compress, "a.jpg", ""},
      {{"--compress", "a.jpg"}, Mode::usageError, "", ""},
      {{"--strip", "--version"}, Mode::strip, "--version", ""},
      {{"--convert", "a.jpg", "--to", "png", "--output-folder"}, Mode::usageError, "", ""},
      {{"--convert", "a.jpg", "--to", "png", "--batch-worker"}, Mode::batchWorker, "", ""},
  };
  for (const Case& c : cases) {
    std::vector<std::string> arguments{"/usr/bin/whirlpane"};
    arguments.insert(arguments.end(), c.arguments.begin(), c.arguments.end());
    const Invocation invocation = parseCommandLine(arguments);
    const std::string shown = testing::PrintToString(c.arguments);
    EXPECT_EQ(invocation.mode, c.mode) << shown;
    EXPECT_EQ(invocation.source, c.source) << shown;
    EXPECT_EQ(invocation.format, c.format) << shown;
  }
  // Each incomplete form is answered with its own usage line, the quality as typed.
  EXPECT_EQ(parseCommandLine({"w", "--compress", "a.jpg"}).usage, compressUsageLine);
  EXPECT_EQ(parseCommandLine({"w", "--convert", "a"}).usage, usageLine);
  EXPECT_EQ(parseCommandLine({"w", "--compress", "a.jpg", "--quality", " 0.5x"}).quality, " 0.5x");
  // --convert takes files up to the next option the program knows.
  const std::pair<std::vector<std::string>, std::vector<std::string>> several[] = {
      {{"--convert", "a.jpg", "b c.png", "-d.gif", "--to", "png"}, {"a.jpg", "b c.png", "-d.gif"}},
      {{"--to", "png", "--convert", "a.jpg", "b.jpg"}, {"a.jpg", "b.jpg"}},
      {{"--convert", "a.jpg", "--to", "png", "b.jpg"}, {"a.jpg"}},
      {{"--convert", "--to", "png"}, {"--to"}},
      {{"--convert", "a.jpg", "--editor", "crop", "--to", "png"}, {"a.jpg"}},
  };
  for (const auto& [arguments, sources] : several) {
    std::vector<std::string> all{"w"};
    all.insert(all.end(), arguments.begin(), arguments.end());
    EXPECT_EQ(parseCommandLine(all).sources, sources) << testing::PrintToString(arguments);
  }
  EXPECT_EQ(parseCommandLine({"w", "--output-folder", "/o", "--convert", "a", "--to", "png"})
                .outputFolder,
            "/o");
  // The program's own path is scanned like any argument.
  EXPECT_EQ(parseCommandLine({"--convert", "a.png", "--to", "jpg"}).source, "a.png");
}

}  // namespace
}  // namespace Whirlpane
