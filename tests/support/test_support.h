// SPDX-License-Identifier: GPL-3.0-or-later
// Helpers shared by the tests: scratch folders, fixtures made with the real
// codecs at test time, and running the built program as a user would.
#pragma once

#include <sys/types.h>

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>
#include <vips/vips8>

#include "whirlpane/formats.h"

namespace TestSupport {

namespace fs = std::filesystem;

// A new empty folder in the temporary area, removed with its contents.
class ScratchFolder {
 public:
  ScratchFolder();
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  const fs::path& path() const { return path_; }
  fs::path operator/(std::string_view name) const { return path_ / name; }

 private:
  fs::path path_;
};

// A folder of its own whose writing can be refused: a file system of `bytes`
// (a tmpfs) where this process may mount one, else a plain scratch folder.
// Unmounted, with its contents gone, when it goes away.
class LimitedFolder {
 public:
  explicit LimitedFolder(size_t bytes);
  ~LimitedFolder();
  LimitedFolder(const LimitedFolder&) = delete;
  LimitedFolder& operator=(const LimitedFolder&) = delete;

  // True when it is a file system of its own, so that it can fill up.
  bool limited() const { return mounted_; }
  // From now on nothing can be written in it: the file system remounted
  // read-only, or the folder's write permission taken away. False when
  // neither can refuse this process (a superuser that may not mount).
  bool makeReadOnly();
  const fs::path& path() const { return folder_.path(); }
  fs::path operator/(std::string_view name) const { return folder_ / name; }

 private:
  ScratchFolder folder_;
  bool mounted_ = false;
};

// Starts libvips as the engine does, with HEIF support loaded.
void startVips();

// Smooth colour ramps with a hard-edged block at the top left, so that turns
// and channel swaps show; a fourth band is alpha, transparent at the left.
vips::VImage testPicture(int width, int height, int bands = 3);

// Random noise in every channel: large and slow in any lossy format.
vips::VImage noisePicture(int width, int height);

// Saves `image` with libvips; `options` is libvips' "[name=value,...]" form.
void saveImage(const vips::VImage& image, const fs::path& path, std::string_view options = "");

vips::VImage loadWithVips(const fs::path& path);

void writeFile(const fs::path& path, std::string_view bytes);
std::string readFile(const fs::path& path);

// The names in `folder`, sorted, hidden ones included.
std::vector<std::string> listFolder(const fs::path& folder);

// Names in `folder` that are hidden working files (".whirlpane-...").
std::vector<std::string> workingFilesIn(const fs::path& folder);

// Largest and mean absolute difference between two images' samples; the
// largest is nullopt when their sizes or band counts differ.
std::optional<double> maxDifference(const vips::VImage& a, const vips::VImage& b);
double meanDifference(const vips::VImage& a, const vips::VImage& b);

struct RunResult {
  int status = -1;  // exit status, or 128 + signal when killed
  std::string out;
  std::string err;
};

// Runs the built whirlpane with `arguments` in `workingFolder`, and waits for it.
RunResult runWhirlpane(const std::vector<std::string>& arguments,
                       const fs::path& workingFolder = {});

// Starts the built whirlpane, its output going nowhere, and returns its id.
pid_t startWhirlpane(const std::vector<std::string>& arguments);

// Waits for `pid` and returns its status as runWhirlpane() reports it.
int waitFor(pid_t pid);

// The kind of the MediaEngine::Failure `action` throws (a test failure when
// it throws none).
MediaEngine::Failure::Kind failureKind(const std::function<void()>& action);

// The text a user is shown for the failure of `action`, or "no failure".
std::string failureText(const std::function<void()>& action);

// Runs a shell command and returns its standard output; the exit status goes
// to `status` when given.
std::string shell(const std::string& command, int* status = nullptr);

// Quotes `text` for a POSIX shell.
std::string quoted(std::string_view text);

}  // namespace TestSupport
