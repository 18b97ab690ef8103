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

// A new empty folder in the temporary area, removed with its contents when the
// object goes away.
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

// Starts libvips as the engine does, with HEIF support loaded.
void startVips();

// A deterministic test picture: smooth colour ramps with a few hard edges, so
// that orientation mistakes and channel swaps show. With four bands, the alpha
// channel is a ramp from transparent (left) to opaque (right).
vips::VImage testPicture(int width, int height, int bands = 3);

// A picture of random noise in every channel: slow to encode in any lossy
// format, for tests that need a conversion to take a while.
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

// Largest absolute difference between two images' samples, or nullopt when
// their sizes or band counts differ.
std::optional<double> maxDifference(const vips::VImage& a, const vips::VImage& b);

// Mean absolute difference between two images' samples (same size and bands).
double meanDifference(const vips::VImage& a, const vips::VImage& b);

struct RunResult {
  int status = -1;  // exit status, or 128 + signal when killed
  std::string out;
  std::string err;
};

// Runs the built whirlpane with `arguments` (not including the program name)
// in `workingFolder`, and waits for it.
RunResult runWhirlpane(const std::vector<std::string>& arguments,
                       const fs::path& workingFolder = {});

// Starts the built whirlpane without waiting; standard output and error go to
// /dev/null. Returns the process id.
pid_t startWhirlpane(const std::vector<std::string>& arguments);

// Waits for `pid` and returns its status as runWhirlpane() reports it.
int waitFor(pid_t pid);

// Runs `action`, which is expected to throw a MediaEngine::Failure, and
// returns its kind; records a test failure (and answers unsupported) when it
// throws none.
MediaEngine::Failure::Kind failureKind(const std::function<void()>& action);

// Runs `action`, which is expected to fail, and returns the text a user would
// be shown for its failure, or "no failure" when it returned.
std::string failureText(const std::function<void()>& action);

// True when a program named `name` is on the PATH.
bool haveTool(std::string_view name);

// Runs a shell command (for independent checking tools) and returns its
// standard output; the exit status goes to `status` when given.
std::string shell(const std::string& command, int* status = nullptr);

// Quotes `text` for a POSIX shell.
std::string quoted(std::string_view text);

}  // namespace TestSupport
