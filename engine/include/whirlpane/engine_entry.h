// SPDX-License-Identifier: GPL-3.0-or-later
// The engine as a front end sees it after loading libwhirlpane-engine.so at run
// time: one table of entry points, found by the C name below. Loading the
// engine (and with it libvips and every codec) only when a conversion runs keeps
// start-up of everything else fast. Both sides are built from one tree with one
// compiler, so C++ types and exceptions cross the boundary unchanged.
//
// Thread safety: call start() once, right after loading and before this
// process starts any thread of its own; from then on every entry may be
// called from any thread at once (each call shares nothing with the others),
// except removeWorkingFiles, which ends the engine's use for good.
#pragma once

#include <exception>
#include <filesystem>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

struct WhirlpaneEngine {
  // Bumped whenever the table changes shape.
  static constexpr int currentVersion = 4;
  int version;
  // Starts the engine's libraries; see whirlpane/startup.h.
  void (*start)();
  // See whirlpane/pipeline.h; an empty `outputFolder` is the source's own.
  std::vector<std::filesystem::path> (*convert)(const std::filesystem::path& source,
                                                std::string_view format,
                                                const std::filesystem::path& outputFolder);
  std::vector<std::pair<std::string, std::string>> (*metadata)(const std::filesystem::path& url);
  std::filesystem::path (*compress)(const std::filesystem::path& url, double quality);
  std::filesystem::path (*stripMetadata)(const std::filesystem::path& url);
  std::string (*describe)(const std::exception& error);
  // The password locked PDFs are opened with; see whirlpane/pipeline.h.
  void (*usePDFPassword)(std::string password);
  bool (*needsPDFPassword)(const std::exception& error);
  // Removes this process's hidden working files; the process must end right
  // after (see WorkingFiles::removeAll).
  void (*removeWorkingFiles)();
};

inline constexpr const char* whirlpaneEngineSymbol = "whirlpaneEngine";

extern "C" const WhirlpaneEngine* whirlpaneEngine();
