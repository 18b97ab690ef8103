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
      {{"--open", "x.png"}, Mode::application, "", ""},
      {{"--convert", "photo.jpg", "--to", "png"}, Mode::convert, "photo.jpg", "png"},
      {{"--to", "png", "--convert", "photo.jpg"}, Mode::convert, "photo.jpg", "png"},
      {{"--convert", "photo.jpg"}, Mode::usageError, "", ""},
      {{"--convert", "photo.jpg", "--to"}, Mode::usageError, "", ""},
      {{"--convert"}, Mode::usageError, "", ""},
      {{"--to", "png", "--convert"}, Mode::usageError, "", ""},
      // Values are positional: an option-looking value is still a value.
      {{"--convert", "--to", "png"}, Mode::convert, "--to", "png"},
      {{"--convert", "a.jpg", "--to", "--version"}, Mode::convert, "a.jpg", "--version"},
      // The first occurrence of each option counts.
      {{"--convert", "a.jpg", "--convert", "b.jpg", "--to", "png", "--to", "jpg"},
       Mode::convert,
       "a.jpg",
       "png"},
      {{"--version", "--convert", "a.png", "--to", "jpg"}, Mode::convert, "a.png", "jpg"},
      {{"--version", "--convert", "a.png"}, Mode::usageError, "", ""},
      {{"--version"}, Mode::version, "", ""},
      {{"x", "--version", "y"}, Mode::version, "", ""},
      {{"--help", "--version"}, Mode::version, "", ""},
      {{"--help"}, Mode::help, "", ""},
      // Exact, case-sensitive, whole-argument matching only.
      {{"--Convert", "a.jpg", "--to", "png"}, Mode::application, "", ""},
      {{"--convert=a.jpg", "--to", "png"}, Mode::application, "", ""},
      {{"-v"}, Mode::application, "", ""},
      {{"--convert", "a.jpg", "--TO", "png"}, Mode::usageError, "", ""},
      // The format is handed on as typed.
      {{"--convert", " My Photo.JPG ", "--to", " PNG\n"},
       Mode::convert,
       " My Photo.JPG ",
       " PNG\n"},
      // the file operations, below --convert
      {{"--metadata", "a.jpg"}, Mode::metadata, "a.jpg", ""},
      {{"--metadata"}, Mode::usageError, "", ""},
      {{"--strip", "a.jpg", "--metadata", "b.jpg"}, Mode::metadata, "b.jpg", ""},
      {{"--metadata", "a.jpg", "--convert", "b.jpg", "--to", "png"}, Mode::convert, "b.jpg", "png"},
      {{"--metadata", "a.jpg", "--convert", "b.jpg"}, Mode::usageError, "", ""},
      {{"--compress", "a.jpg", "--quality", "0.5"}, Mode::compress, "a.jpg", ""},
      {{"--quality", "x", "--compress", "a.jpg"}, Mode::compress, "a.jpg", ""},
      {{"--compress", "a.jpg"}, Mode::usageError, "", ""},
      {{"--compress", "a.jpg", "--quality"}, Mode::usageError, "", ""},
      {{"--strip", "a.jpg", "--compress", "b.jpg", "--quality", "1"}, Mode::compress, "b.jpg", ""},
      {{"--strip", "--version"}, Mode::strip, "--version", ""},
      {{"--version", "--strip"}, Mode::usageError, "", ""},
  };
  for (const Case& c : cases) {
    std::vector<std::string> arguments{"/usr/bin/whirlpane"};
    arguments.insert(arguments.end(), c.arguments.begin(), c.arguments.end());
    const Invocation invocation = parseCommandLine(arguments);
    std::string shown;
    for (const auto& a : c.arguments) shown += "[" + a + "]";
    EXPECT_EQ(invocation.mode, c.mode) << shown;
    EXPECT_EQ(invocation.source, c.source) << shown;
    EXPECT_EQ(invocation.format, c.format) << shown;
  }
  // Each incomplete form is answered with its own usage line, the quality as typed.
  EXPECT_EQ(parseCommandLine({"w", "--compress", "a.jpg"}).usage, compressUsageLine);
  EXPECT_EQ(parseCommandLine({"w", "--strip"}).usage, stripUsageLine);
  EXPECT_EQ(parseCommandLine({"w", "--metadata"}).usage, metadataUsageLine);
  EXPECT_EQ(parseCommandLine({"w", "--convert", "a"}).usage, usageLine);
  EXPECT_EQ(parseCommandLine({"w", "--compress", "a.jpg", "--quality", " 0.5x"}).quality, " 0.5x");
  // The program's own path is scanned like any argument: "--convert" there
  // still takes the next one as its source.
  EXPECT_EQ(parseCommandLine({"--convert", "a.png", "--to", "jpg"}).source, "a.png");
}

}  // namespace
}  // namespace Whirlpane
