// SPDX-License-Identifier: GPL-3.0-or-later
#include "image/codec_runtime.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/test_support.h"
#include "whirlpane/pipeline.h"
#include "whirlpane/startup.h"

extern char** environ;

namespace MediaEngine {
namespace {

// Another thread may read the environment at any moment (Qt does), so once
// the engine is started no operation may write it: not the table, not one entry.
TEST(EngineStart, OperationsAfterStartLeaveTheEnvironmentAlone) {
  const auto environment = [] {
    std::vector<std::string> entries;
    for (char** entry = environ; *entry; ++entry) entries.emplace_back(*entry);
    return entries;
  };
  TestSupport::ScratchFolder folder;
  // Made by another process, so that nothing in this one has started libvips.
  TestSupport::shell("vips xyz " + TestSupport::quoted((folder / "photo.jpg").string()) + " 64 48");
  const char* home = std::getenv("VIPSHOME");
  const std::string homeBefore = home ? home : "(unset)";

  start();
  char** const table = environ;
  const std::vector<std::string> before = environment();
  EXPECT_EQ(convert(folder / "photo.jpg", "png").size(), 1u);
  EXPECT_EQ(convert(folder / "photo.jpg", "heic").size(), 1u);
  EXPECT_EQ(convert(folder / "photo.png", "pdf").size(), 1u);
  detail::loadHeifDecoder();
  EXPECT_EQ(environ, table);
  EXPECT_EQ(environment(), before);
  home = std::getenv("VIPSHOME");
  EXPECT_EQ(home ? home : "(unset)", homeBefore) << "start() puts the variable back as it found it";
}

}  // namespace
}  // namespace MediaEngine
