// SPDX-License-Identifier: GPL-3.0-or-later
// A program of its own, linking the engine alone (the other tests link the
// documents library too): image conversions must not load it, nor poppler,
// qpdf or libzip; the first PDF made does.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <vips/vips8>

#include "whirlpane/pipeline.h"
#include "whirlpane/startup.h"

namespace {

namespace fs = std::filesystem;

std::string loadedLibraries() {
  std::ifstream maps("/proc/self/maps");
  std::stringstream text;
  text << maps.rdbuf();
  return text.str();
}

TEST(DocumentsLibrary, IsLoadedByTheFirstConversionThatNeedsIt) {
  MediaEngine::start();
  const fs::path folder = fs::temp_directory_path() / ("documents-" + std::to_string(::getpid()));
  fs::create_directories(folder);
  vips::VImage::black(64, 48, vips::VImage::option()->set("bands", 3))
      .jpegsave((folder / "photo.jpg").c_str());
  const char* lazy[] = {"libwhirlpane-documents.so", "libpoppler", "libqpdf", "libzip"};

  MediaEngine::convert(folder / "photo.jpg", "png");
  for (const char* library : lazy)
    EXPECT_EQ(loadedLibraries().find(library), std::string::npos) << library;

  const std::vector<fs::path> pdf = MediaEngine::convert(folder / "photo.jpg", "pdf");
  ASSERT_EQ(pdf.size(), 1u);
  EXPECT_EQ(MediaEngine::convert(pdf[0], "png").size(), 1u);
  for (const char* library : lazy)
    EXPECT_NE(loadedLibraries().find(library), std::string::npos) << library;
  fs::remove_all(folder);
}

}  // namespace
