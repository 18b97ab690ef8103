// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/support/test_support.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "files/output_placement.h"
#include "image/codec_runtime.h"
#include "tests/support/processes.h"
#include "whirlpane/failure.h"

extern char** environ;

namespace TestSupport {

ScratchFolder::ScratchFolder()
    : path_(fs::temp_directory_path() / ("whirlpane-test-" + MediaEngine::newUUID())) {
  fs::create_directories(path_);
}

ScratchFolder::~ScratchFolder() {
  std::error_code ignored;
  fs::remove_all(path_, ignored);
}

LimitedFolder::LimitedFolder(size_t bytes) {
  const std::string options = "size=" + std::to_string(bytes) + ",mode=0755";
  mounted_ = ::mount("tmpfs", folder_.path().c_str(), "tmpfs", 0, options.c_str()) == 0;
}

LimitedFolder::~LimitedFolder() {
  if (mounted_) ::umount2(folder_.path().c_str(), MNT_DETACH);
}

bool LimitedFolder::makeReadOnly() {
  if (mounted_) {
    return ::mount(nullptr, folder_.path().c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) == 0;
  }
  if (::geteuid() == 0) return false;
  fs::permissions(folder_.path(),
                  fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                  fs::perm_options::remove);
  return true;
}

void startVips() {
  // The engine's own start-up: fixtures and engine share one libvips.
  MediaEngine::detail::startImageLibrary();
  MediaEngine::detail::loadHeifDecoder();
}

vips::VImage testPicture(int width, int height, int bands) {
  startVips();
  using vips::VImage;
  VImage xy = VImage::xyz(width, height);
  VImage x = xy[0], y = xy[1];
  VImage red = x * (255.0 / std::max(1, width - 1));
  VImage green = y * (255.0 / std::max(1, height - 1));
  // A hard-edged block in the top-left quarter marks the image's orientation.
  VImage block = (x < width / 4) & (y < height / 4);
  VImage blue = block.ifthenelse(255, (x + y) * (128.0 / std::max(1, width + height - 2)));
  VImage rgb = red.bandjoin(green).bandjoin(blue).cast(VIPS_FORMAT_UCHAR);
  if (bands == 4)
    rgb = rgb.bandjoin((x * (255.0 / std::max(1, width - 1))).cast(VIPS_FORMAT_UCHAR));
  return rgb.copy(VImage::option()->set("interpretation", VIPS_INTERPRETATION_sRGB)).copy_memory();
}

vips::VImage noisePicture(int width, int height) {
  startVips();
  using vips::VImage;
  const auto band = [&] {
    return VImage::gaussnoise(width, height, VImage::option()->set("sigma", 60.0));
  };
  return VImage::bandjoin({band(), band(), band()})
      .cast(VIPS_FORMAT_UCHAR)
      .copy(VImage::option()->set("interpretation", VIPS_INTERPRETATION_sRGB))
      .copy_memory();
}

void saveImage(const vips::VImage& image, const fs::path& path, std::string_view options) {
  startVips();
  image.write_to_file((path.string() + std::string(options)).c_str());
}

vips::VImage loadWithVips(const fs::path& path) {
  startVips();
  return vips::VImage::new_from_file(path.c_str()).copy_memory();
}

void writeFile(const fs::path& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path.string());
}

std::string readFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::vector<std::string> listFolder(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder))
    names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

std::vector<std::string> workingFilesIn(const fs::path& folder) {
  std::vector<std::string> names;
  for (const std::string& name : listFolder(folder)) {
    if (name.starts_with(".whirlpane-")) names.push_back(name);
  }
  return names;
}

std::optional<double> maxDifference(const vips::VImage& a, const vips::VImage& b) {
  if (a.width() != b.width() || a.height() != b.height() || a.bands() != b.bands())
    return std::nullopt;
  return (a.cast(VIPS_FORMAT_INT) - b.cast(VIPS_FORMAT_INT)).abs().max();
}

namespace {

pid_t spawn(const std::vector<std::string>& arguments, const fs::path& workingFolder,
            const fs::path& out, const fs::path& err) {
  std::vector<std::string> argv{WHIRLPANE_BINARY};
  argv.insert(argv.end(), arguments.begin(), arguments.end());
  std::vector<char*> pointers;
  for (std::string& a : argv) pointers.push_back(a.data());
  pointers.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  if (!workingFolder.empty()) posix_spawn_file_actions_addchdir_np(&actions, workingFolder.c_str());
  pid_t pid = -1;
  const int status =
      posix_spawn(&pid, argv[0].c_str(), &actions, nullptr, pointers.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (status != 0) throw std::system_error(status, std::generic_category(), "posix_spawn");
  return pid;
}

}  // namespace

int waitFor(pid_t pid) {
  int status = 0;
  while (waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR) return -1;
  }
  if (WIFEXITED(status)) return WEXITSTATUS(status);
  if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
  return -1;
}

RunResult runWhirlpane(const std::vector<std::string>& arguments, const fs::path& workingFolder) {
  const ScratchFolder streams;
  const int status = waitFor(spawn(arguments, workingFolder, streams / "out", streams / "err"));
  return {status, readFile(streams / "out"), readFile(streams / "err")};
}

pid_t startWhirlpane(const std::vector<std::string>& arguments) {
  return spawn(arguments, {}, "/dev/null", "/dev/null");
}

std::string quoted(std::string_view text) {
  std::string result = "'";
  for (char c : text) result += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return result + "'";
}

std::string shell(const std::string& command, int* status) {
  FILE* pipe = ::popen(command.c_str(), "r");
  if (!pipe) throw std::runtime_error("popen failed");
  std::string text;
  char buffer[4096];
  size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) text.append(buffer, n);
  const int raw = ::pclose(pipe);
  if (status) *status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  return text;
}

MediaEngine::Failure::Kind failureKind(const std::function<void()>& action) {
  try {
    action();
  } catch (const MediaEngine::Failure& failure) {
    return failure.kind();
  }
  ADD_FAILURE() << "no Failure was thrown";
  return MediaEngine::Failure::Kind::unsupported;
}

std::string failureText(const std::function<void()>& action) {
  try {
    action();
  } catch (const std::exception& error) {
    return MediaEngine::describe(error);
  }
  return "no failure";
}

double meanDifference(const vips::VImage& a, const vips::VImage& b) {
  return (a.cast(VIPS_FORMAT_INT) - b.cast(VIPS_FORMAT_INT)).abs().avg();
}

const fs::path& standIns() {
  static const fs::path folder = fs::path(WHIRLPANE_SOURCE_DIR) / "tests/support/stand-ins";
  return folder;
}

int childProcesses() {
  int count = 0;
  for (const auto& entry : fs::directory_iterator("/proc")) {
    const std::string name = entry.path().filename().string();
    if (name.find_first_not_of("0123456789") != std::string::npos) continue;
    std::string stat = TestSupport::readFile(entry.path() / "stat");
    const size_t close = stat.rfind(')');
    if (close == std::string::npos) continue;
    std::istringstream fields(stat.substr(close + 2));
    std::string state;
    pid_t parent = 0;
    fields >> state >> parent;
    count += state != "Z" && parent == ::getpid();
  }
  return count;
}

void NothingLeftBehind::SetUp() {
  const char* previous = std::getenv("TMPDIR");
  if (previous) savedTemporary_ = previous;
  ::setenv("TMPDIR", temporary_.path().c_str(), 1);
}

void NothingLeftBehind::TearDown() {
  EXPECT_TRUE(TestSupport::listFolder(temporary_.path()).empty())
      << "a scratch folder outlived the call";
  EXPECT_EQ(childProcesses(), 0) << "a child outlived the call";
  if (savedTemporary_) {
    ::setenv("TMPDIR", savedTemporary_->c_str(), 1);
  } else {
    ::unsetenv("TMPDIR");
  }
}

}  // namespace TestSupport
