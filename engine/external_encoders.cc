#include "engine/external_encoders.h"

#include <fcntl.h>
#include <glib.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <fstream>
#include <sstream>

#include "engine/codec_runtime.h"
#include "engine/file_error.h"
#include "engine/file_io.h"
#include "engine/formats.h"
#include "engine/output_placement.h"
#include "engine/working_files.h"

extern char** environ;

namespace MediaEngine {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr size_t encoderOutputLimit = 16'777'216;
constexpr size_t errorTextLimit = 1000;  // characters of standard error kept in a message

// Removes a working folder however the scope is left.
class FolderGuard {
 public:
  explicit FolderGuard(fs::path folder) : folder_(std::move(folder)) {}
  ~FolderGuard() { WorkingFiles::remove(folder_); }
  FolderGuard(const FolderGuard&) = delete;
  FolderGuard& operator=(const FolderGuard&) = delete;
  const fs::path& path() const { return folder_; }

 private:
  fs::path folder_;
};

class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};

off_t sizeOf(int fd) {
  struct stat info;
  return ::fstat(fd, &info) == 0 ? info.st_size : 0;
}

// The first `limit` characters of `bytes` read as UTF-8; bytes that are not
// UTF-8 become U+FFFD rather than costing the whole message.
std::string firstCharacters(const std::string& bytes, size_t limit) {
  gchar* valid = g_utf8_make_valid(bytes.data(), static_cast<gssize>(bytes.size()));
  const gchar* end = valid;
  for (size_t n = 0; n < limit && *end; ++n) end = g_utf8_next_char(end);
  std::string text(valid, static_cast<size_t>(end - valid));
  g_free(valid);
  return text;
}

// A started child process leading its own group: waits for it without reaping
// it, so that its id (and so its group's) stays reserved until the group has
// been cleared.
class Child {
 public:
  // glibc 2.36 declares pidfd_open without C linkage; the system call is the
  // same thing.
  explicit Child(pid_t pid) : pid_(pid), pidfd_(static_cast<int>(::syscall(SYS_pidfd_open, pid, 0))) {}
  ~Child() {
    if (!finished_) finish();  // however the caller leaves, nothing stays running
    if (pidfd_ >= 0) ::close(pidfd_);
  }
  Child(const Child&) = delete;
  Child& operator=(const Child&) = delete;

  // True when the child has ended within `timeout`.
  bool waitFor(std::chrono::milliseconds timeout) {
    if (pidfd_ >= 0) {
      pollfd ready{pidfd_, POLLIN, 0};
      while (::poll(&ready, 1, static_cast<int>(timeout.count())) < 0 && errno == EINTR) {
      }
      return ended();
    }
    // No pidfd (an old kernel): look in small steps.
    for (auto until = Clock::now() + timeout; !ended();) {
      if (Clock::now() >= until) return false;
      ::usleep(10'000);
    }
    return true;
  }

  bool ended() {
    siginfo_t info{};
    if (::waitid(P_PID, static_cast<id_t>(pid_), &info, WEXITED | WNOHANG | WNOWAIT) != 0) return true;
    return info.si_pid == pid_;
  }

  // Stops the child: the polite request, `grace` to obey, then SIGKILL.
  void stop(std::chrono::milliseconds grace) {
    ::kill(-pid_, SIGTERM);
    if (!waitFor(grace)) ::kill(-pid_, SIGKILL);
  }

  // Kills whatever is left of the group, reaps the child and returns its
  // wait status.
  int finish() {
    ::kill(-pid_, SIGKILL);  // anything the child started and left running
    int status = 0;
    while (::waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
    }
    // SIGKILL takes effect a moment after it is sent; give what was left of
    // the group that moment (bounded, for an init that is slow to reap), so
    // that nothing of it is still running when the call returns.
    for (int tries = 0; tries < 50 && ::kill(-pid_, 0) == 0; ++tries) ::usleep(2'000);
    WorkingFiles::forgetChild(pid_);
    finished_ = true;
    return status;
  }

 private:
  pid_t pid_;
  int pidfd_;
  bool finished_ = false;
};

pid_t spawn(const fs::path& executable, const std::vector<std::string>& args, int out, int err) {
  std::vector<std::string> argv{executable.string()};
  argv.insert(argv.end(), args.begin(), args.end());
  std::vector<char*> pointers;
  for (std::string& a : argv) pointers.push_back(a.data());
  pointers.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_adddup2(&actions, out, STDOUT_FILENO);
  posix_spawn_file_actions_adddup2(&actions, err, STDERR_FILENO);
  posix_spawn_file_actions_addclosefrom_np(&actions, 3);

  // Its own process group, so that a stop reaches everything it starts, and
  // the signal state of a fresh program, whatever this process blocks.
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  posix_spawnattr_setpgroup(&attributes, 0);
  sigset_t none, defaults;
  sigemptyset(&none);
  sigemptyset(&defaults);
  for (int signal : {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGPIPE}) sigaddset(&defaults, signal);
  posix_spawnattr_setsigmask(&attributes, &none);
  posix_spawnattr_setsigdefault(&attributes, &defaults);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);

  int error = 0;
  const pid_t pid = WorkingFiles::startChild([&] {
    pid_t started = -1;
    error = ::posix_spawn(&started, argv[0].c_str(), &actions, &attributes, pointers.data(), environ);
    return error == 0 ? started : -1;
  });
  posix_spawn_file_actions_destroy(&actions);
  posix_spawnattr_destroy(&attributes);
  if (pid < 0) throwFileError(error, "Could not start", executable);
  return pid;
}

bool isExecutableFile(const fs::path& path) {
  struct stat info;
  return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && ::access(path.c_str(), X_OK) == 0;
}

bool hasSignature(const Bytes& file, std::string_view format) {
  const std::string_view bytes = file.text();
  if (format == "webp") return bytes.size() >= 12 && bytes.substr(0, 4) == "RIFF" && bytes.substr(8, 4) == "WEBP";
  return bytes.size() >= 16 && bytes.substr(4, 4) == "ftyp" && bytes.substr(8, 4) == "avif";
}

// avifenc before version 1.0 (Debian 12 ships 0.11) knows neither -q nor
// --qalpha; it takes quantizers from 0 (lossless) to 63 instead.
bool avifencTakesQuality(const fs::path& encoder) {
  const Bytes answer = run(encoder, {"--version"}, 65536);
  const std::string_view text = answer.text();
  const size_t at = text.find("Version: ");
  if (at == std::string_view::npos) return true;
  const char major = at + 9 < text.size() ? text[at + 9] : '1';
  return !(major == '0' && at + 10 < text.size() && text[at + 10] == '.');
}

std::vector<std::string> encoderArguments(std::string_view format, const fs::path& encoder, long quality,
                                          const fs::path& input, const fs::path& output) {
  const std::string q = std::to_string(quality);
  if (format == "webp") {
    return {"-quiet", "-q", q, "-m", "6", "-mt", "-metadata", "none", input.string(), "-o", output.string()};
  }
  if (avifencTakesQuality(encoder)) {
    return {"-q",     q,   "--qalpha",      "100",          "--speed",      "6",
            "--jobs", "2", "--ignore-exif", "--ignore-xmp", input.string(), output.string()};
  }
  // The quantizer libavif 1.0 derives from -q itself.
  const std::string quantizer = std::to_string(((100 - quality) * 63 + 50) / 100);
  return {"--min",   quantizer, "--max",  quantizer, "--minalpha",    "0",           "--maxalpha",
          "0",       "--speed", "6",      "--jobs",  "2",             "--ignore-exif", "--ignore-xmp",
          input.string(), output.string()};
}

}  // namespace

Bytes run(const fs::path& executable, const std::vector<std::string>& args, size_t maximumBytes,
          const ProcessLimits& limits) {
  const FolderGuard capture(temporaryDirectory());
  const Descriptor out(WorkingFiles::createFileIn(capture.path(), "stdout"));
  const Descriptor err(WorkingFiles::createFileIn(capture.path(), "stderr"));
  const std::string name = executable.filename().string();

  Child child(spawn(executable, args, out.get(), err.get()));
  const auto deadline = Clock::now() + limits.timeLimit;
  for (;;) {
    if (child.waitFor(limits.pollInterval)) break;
    if (static_cast<size_t>(sizeOf(out.get())) > maximumBytes ||
        static_cast<size_t>(sizeOf(err.get())) > limits.errorLimit) {
      child.stop(limits.grace);
      child.finish();
      throw Failure::tooLarge();
    }
    if (Clock::now() > deadline) {
      child.stop(limits.grace);
      child.finish();
      throw Failure::encoding(name + " exceeded the time limit");
    }
  }
  const int status = child.finish();
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    // Some programs (avifenc among them) complain on standard output; a
    // message with no reason at all helps nobody.
    std::string complaint = detail::readFromStart(err.get());
    if (complaint.empty()) complaint = detail::readFromStart(out.get());
    throw Failure::encoding(name + ": " + firstCharacters(complaint, errorTextLimit));
  }
  if (static_cast<size_t>(sizeOf(out.get())) > maximumBytes) throw Failure::tooLarge();
  return Bytes::copyOf(detail::readFromStart(out.get()));
}

std::vector<fs::path> codecFolders() {
  std::vector<fs::path> folders;
  std::error_code ignored;
  if (fs::is_directory(detail::resourceFolder(), ignored)) folders.push_back(detail::resourceFolder() / "Codecs");
  folders.push_back(fs::absolute(WHIRLPANE_SOURCE_ROOT, ignored) / "Resources" / "Codecs");
  folders.push_back(fs::current_path(ignored) / "Resources" / "Codecs");
  return folders;
}

fs::path codec(std::string_view format, const std::vector<fs::path>& folders) {
  const fs::path relative = format == "webp" ? "webp/cwebp" : "avif/avifenc";
  for (const fs::path& folder : folders) {
    if (isExecutableFile(folder / relative)) return folder / relative;
  }
  throw Failure::unsupported("The bundled " + upperCased(format) +
                             " encoder is missing. Rebuild the app with Resources/Codecs included.");
}

Bytes externalEncode(const Image& image, std::string_view format, double quality,
                     const std::vector<fs::path>& folders) {
  // Found first: there is no point in preparing work for an encoder that is not there.
  const fs::path encoder = codec(format, folders);
  const FolderGuard work(temporaryDirectory());
  const fs::path input = work.path() / "input.png";
  const fs::path output = work.path() / ("output." + std::string(format));
  {
    const Bytes png = detail::handOffPNG(image);
    const Descriptor fd(WorkingFiles::createFileIn(work.path(), "input.png"));
    detail::writeAll(fd.get(), png.span(), input);
  }
  // Rounded to the nearest whole number, halves away from zero: 0.005 is 1.
  const long q = std::clamp(std::lround(quality * 100.0), 0L, 100L);
  run(encoder, encoderArguments(format, encoder, q, input, output), encoderOutputLimit);
  Bytes file = detail::readWholeFile(output);
  if (!hasSignature(file, format)) {
    throw Failure::encoding("The " + upperCased(format) + " encoder returned an invalid file.");
  }
  return file;
}

}  // namespace MediaEngine
