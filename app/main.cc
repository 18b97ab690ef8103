// SPDX-License-Identifier: GPL-3.0-or-later
// The whirlpane executable. It decides its mode from the arguments alone; only
// the file operations load the engine library (and with it the codecs), so that
// --version, --help and usage errors answer at once.
#include <pthread.h>
#include <signal.h>
#include <string.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cmath>
#include <condition_variable>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <mutex>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "app/command_line.h"
#include "app/engine_library.h"
#include "app/worker_protocol.h"
#include "whirlpane/failure.h"

namespace {

namespace fs = std::filesystem;

void writeLine(FILE* stream, std::string_view text) {
  std::fwrite(text.data(), 1, text.size(), stream);
  std::fputc('\n', stream);
}

// The absolute form of what the user typed, resolved against the working
// directory; "." components are dropped, nothing else is rewritten (a ".."
// after a symbolic link must keep its meaning).
fs::path absoluteSource(const std::string& typed) {
  fs::path result;
  for (const fs::path& part : fs::absolute(typed)) {
    if (part != ".") result /= part;
  }
  return result;
}

// A polite stop (Ctrl+C, kill, a closed terminal) must not leave hidden working
// files behind. The stop signals are blocked in every thread and taken by one
// thread that removes the working files, then ends the process as the signal
// would have, with status 128 + its number. Files already published stay.
void removeWorkingFilesOnStop(const WhirlpaneEngine* engine) {
  static sigset_t stops;
  sigemptyset(&stops);
  for (int signal : {SIGINT, SIGTERM, SIGHUP}) sigaddset(&stops, signal);
  pthread_sigmask(SIG_BLOCK, &stops, nullptr);
  std::thread([engine] {
    int signal = 0;
    while (sigwait(&stops, &signal) != 0) {
    }
    engine->removeWorkingFiles();
    _exit(128 + signal);
  }).detach();
}

// A value as one line of the metadata listing: backslashes, tabs and line
// breaks written as \\, \t, \n and \r, so that every line reads back as it
// was.
std::string oneLine(std::string_view text) {
  std::string line;
  line.reserve(text.size());
  for (const char c : text) {
    if (c == '\\') {
      line += "\\\\";
    } else if (c == '\t') {
      line += "\\t";
    } else if (c == '\n') {
      line += "\\n";
    } else if (c == '\r') {
      line += "\\r";
    } else {
      line.push_back(c);
    }
  }
  return line;
}

// The quality as typed, or NaN (which the engine refuses with its own
// message) when it is not wholly a number.
double qualityOf(const std::string& typed) {
  char* end = nullptr;
  errno = 0;
  const double value = std::strtod(typed.c_str(), &end);
  if (typed.empty() || end != typed.c_str() + typed.size() || errno == ERANGE) return std::nan("");
  return value;
}

// The first line of standard input, without its line break: a locked PDF's
// password. On a terminal it is asked for on standard error and typed
// without echo.
std::string passwordFromStdin() {
  termios saved{};
  const bool terminal = ::isatty(STDIN_FILENO) && ::tcgetattr(STDIN_FILENO, &saved) == 0;
  if (terminal) {
    std::fputs(Whirlpane::translated("PDF password: ").c_str(), stderr);
    std::fflush(stderr);
    termios quiet = saved;
    quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
    ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet);
  }
  std::string password;
  std::getline(std::cin, password);
  if (terminal) {
    ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &saved);
    std::fputc('\n', stderr);
  }
  if (!password.empty() && password.back() == '\r') password.pop_back();
  return password;
}

std::string environment(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

// Whether a local stream socket at `path` takes a connection; a leading '@'
// names one in the abstract namespace.
bool answers(const std::string& path) {
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  if (path.empty() || path.size() >= sizeof(address.sun_path)) return false;
  std::memcpy(address.sun_path, path.data(), path.size());
  if (path[0] == '@') address.sun_path[0] = '\0';
  const int socket = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (socket < 0) return false;
  const bool connected =
      ::connect(socket, reinterpret_cast<const sockaddr*>(&address),
                static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + path.size())) == 0;
  ::close(socket);
  return connected;
}

// Whether the Wayland compositor that the environment names answers: the
// socket handed over in WAYLAND_SOCKET counts as answering; WAYLAND_DISPLAY
// is a path, or a name in XDG_RUNTIME_DIR.
bool waylandAnswers() {
  if (!environment("WAYLAND_SOCKET").empty()) return true;
  const std::string name = environment("WAYLAND_DISPLAY");
  if (name.empty()) return false;
  if (name.front() == '/') return answers(name);
  const std::string runtime = environment("XDG_RUNTIME_DIR");
  return !runtime.empty() && answers(runtime + "/" + name);
}

// Whether the X server that DISPLAY names answers: a local display
// (":N", "unix:N", with an optional ".screen") at its socket, abstract or in
// /tmp/.X11-unix; one on another host is taken on trust.
bool xAnswers() {
  const std::string display = environment("DISPLAY");
  const size_t colon = display.rfind(':');
  if (colon == std::string::npos) return false;
  const std::string host = display.substr(0, colon);
  if (!host.empty() && host.front() == '/') return answers(display);
  if (!host.empty() && host != "unix") return true;
  const std::string number = display.substr(colon + 1, display.find('.', colon) - colon - 1);
  if (number.empty() || number.find_first_not_of("0123456789") != std::string::npos) return false;
  const std::string socket = "/tmp/.X11-unix/X" + number;
  return answers("@" + socket) || answers(socket);
}

// What the desktop program would find to show its windows on.
enum class Display { none, unreachable, reachable };

// Qt aborts the process when the platform it is given cannot connect, so the
// displays it would try are tried here first: those the environment names,
// for the platforms QT_QPA_PLATFORM allows (all when it is unset). A platform
// that needs no display (offscreen, for tests) is always reachable.
Display findDisplay() {
  std::vector<std::string> platforms;
  std::stringstream list(environment("QT_QPA_PLATFORM"));
  for (std::string platform; std::getline(list, platform, ';');) {
    if (!platform.empty()) platforms.push_back(platform.substr(0, platform.find(':')));
  }
  const auto allows = [&](std::string_view kind) {
    return platforms.empty() ||
           std::any_of(platforms.begin(), platforms.end(),
                       [&](const std::string& p) { return p.starts_with(kind); });
  };
  if (!allows("wayland") && !allows("xcb")) return Display::reachable;
  bool named = false;
  if (allows("wayland")) {
    named = !environment("WAYLAND_DISPLAY").empty() || !environment("WAYLAND_SOCKET").empty();
    if (waylandAnswers()) return Display::reachable;
  }
  if (allows("xcb") && !environment("DISPLAY").empty()) {
    named = true;
    if (xAnswers()) return Display::reachable;
  }
  return named ? Display::unreachable : Display::none;
}

// Flushes standard output; false, after saying so, when it cannot be written.
bool flushResults() {
  if (std::fflush(stdout) == 0) return true;
  writeLine(stderr, Whirlpane::translated(
                        "The results could not be written: standard output is not writable."));
  return false;
}

// A failure's message as one line: a line break inside it would make it two.
std::string asOneLine(std::string text) {
  std::replace(text.begin(), text.end(), '\n', ' ');
  return text;
}

// Converts every source of the invocation, as many at once as the machine has
// cores, on threads of this process: the engine's calls share nothing, and one
// loaded engine serves all the files, which is what makes a batch of small
// files cheap. Each file's outputs are printed as soon as it and every file
// before it are done, so that the lines come in the order the files were
// given; a failure is one line on standard error, named by the file as typed
// when there are several. Returns 1 when any file failed.
int runConversions(const WhirlpaneEngine* engine, const Whirlpane::Invocation& invocation) {
  const std::vector<std::string>& sources = invocation.sources;
  struct Outcome {
    std::vector<std::string> lines;
    std::optional<std::string> failure;
    bool locked = false;  // a locked PDF that no password, or not the one given, opened
  };
  std::vector<std::optional<Outcome>> outcomes(sources.size());
  std::mutex lock;
  std::condition_variable done;
  std::atomic<size_t> next = 0;
  const auto work = [&] {
    for (size_t at; (at = next++) < sources.size();) {
      Outcome outcome;
      try {
        for (const fs::path& path : engine->convert(absoluteSource(sources[at]), invocation.format,
                                                    invocation.outputFolder))
          outcome.lines.push_back(path.native());
      } catch (const std::exception& failure) {
        outcome.failure = asOneLine(engine->describe(failure));
        outcome.locked = engine->needsPDFPassword(failure);
      }
      const std::lock_guard guard(lock);
      outcomes[at] = std::move(outcome);
      done.notify_one();
    }
  };
  const size_t cores = std::max(1u, std::thread::hardware_concurrency());
  std::vector<std::thread> workers;
  // One file is converted on this thread; for several, this thread prints.
  if (sources.size() == 1) {
    work();
  } else {
    for (size_t i = 0; i < std::min(cores, sources.size()); ++i) workers.emplace_back(work);
  }
  bool failed = false, allLocked = true;
  for (size_t at = 0; at < sources.size(); ++at) {
    std::unique_lock guard(lock);
    done.wait(guard, [&] { return outcomes[at].has_value(); });
    const Outcome outcome = std::move(*outcomes[at]);
    guard.unlock();
    if (outcome.failure) {
      failed = true;
      allLocked = allLocked && outcome.locked;
      writeLine(stderr,
                sources.size() == 1 ? *outcome.failure : sources[at] + ": " + *outcome.failure);
    }
    for (const std::string& line : outcome.lines) writeLine(stdout, line);
  }
  for (std::thread& worker : workers) worker.join();
  // Locked PDFs alone ask for a password; any other failure is a failure.
  if (!failed) return 0;
  return allLocked ? Whirlpane::needsPasswordStatus : 1;
}

// Runs the engine operation the invocation asks for and prints its result:
// the written files, or the metadata rows.
int runOperation(const Whirlpane::Invocation& invocation) {
  using Mode = Whirlpane::Invocation::Mode;
  std::string error;
  const WhirlpaneEngine* engine = Whirlpane::loadEngine(error);
  if (!engine) {
    writeLine(stderr, error);
    return 1;
  }
  // Before the stop thread exists: starting the engine writes the environment.
  try {
    engine->start();
  } catch (const std::exception& failure) {
    writeLine(stderr, engine->describe(failure));
    return 1;
  }
  if (invocation.passwordFromStdin) {
    std::string password = passwordFromStdin();
    engine->usePDFPassword(password);
    ::explicit_bzero(password.data(), password.size());
  }
  removeWorkingFilesOnStop(engine);
  if (invocation.mode == Mode::convert) {
    const int status = runConversions(engine, invocation);
    return flushResults() ? status : 1;
  }
  const fs::path source = absoluteSource(invocation.source);
  std::vector<std::string> lines;
  try {
    switch (invocation.mode) {
      case Mode::metadata:
        for (const auto& [label, value] : engine->metadata(source))
          lines.push_back(oneLine(label) + '\t' + oneLine(value));
        break;
      case Mode::compress:
        lines.push_back(engine->compress(source, qualityOf(invocation.quality)).native());
        break;
      default:
        lines.push_back(engine->stripMetadata(source).native());
        break;
    }
  } catch (const std::exception& failure) {
    writeLine(stderr, engine->describe(failure));
    return engine->needsPDFPassword(failure) ? Whirlpane::needsPasswordStatus : 1;
  }
  for (const std::string& line : lines) writeLine(stdout, line);
  return flushResults() ? 0 : 1;
}

// The desktop program's conversion worker: converts file after file asked
// for on the socket that is its standard input, answering each (see
// app/worker_protocol.h), until the socket closes. The engine starts once
// for all of them. A stop signal removes the working files of the file in
// progress, as for --convert.
int runWorker() {
  namespace Protocol = Whirlpane::WorkerProtocol;
  std::string error;
  const WhirlpaneEngine* engine = Whirlpane::loadEngine(error);
  if (!engine) {
    writeLine(stderr, error);
    return 1;
  }
  try {
    engine->start();
  } catch (const std::exception& failure) {
    writeLine(stderr, engine->describe(failure));
    return 1;
  }
  removeWorkingFilesOnStop(engine);
  // For tests of a worker that dies: the worker aborts on a source of this name.
  const char* abortOn = std::getenv("WHIRLPANE_TEST_WORKER_ABORT_ON");
  Protocol::MessageReader reader(STDIN_FILENO);
  while (std::optional<Protocol::Message> request = reader.next()) {
    if (request->size() != 5 || (*request)[0] != "convert") return 2;
    const fs::path source = (*request)[1];
    if (abortOn && source.filename() == abortOn) std::abort();
    // The password opens this request's file only.
    std::string& password = (*request)[4];
    engine->usePDFPassword(password);
    ::explicit_bzero(password.data(), password.size());
    Protocol::Message reply{"saved"};
    try {
      for (const fs::path& path : engine->convert(source, (*request)[2], (*request)[3])) {
        reply.push_back(path.native());
      }
    } catch (const MediaEngine::Failure& failure) {
      using Kind = MediaEngine::Failure::Kind;
      const bool folder =
          failure.kind() == Kind::noRoom || failure.kind() == Kind::folderNotWritable;
      reply = engine->needsPDFPassword(failure)
                  ? Protocol::Message{"locked"}
                  : Protocol::Message{"failed", folder ? "folder" : "", failure.what()};
    } catch (const std::exception& failure) {
      reply = {"failed", "", engine->describe(failure)};
    }
    engine->usePDFPassword({});
    if (!Protocol::send(STDIN_FILENO, reply)) return 0;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  using Mode = Whirlpane::Invocation::Mode;
  Whirlpane::followUserLanguage();
  const Whirlpane::Invocation invocation =
      Whirlpane::parseCommandLine(std::vector<std::string>(argv, argv + argc));
  switch (invocation.mode) {
    case Mode::convert:
    case Mode::metadata:
    case Mode::compress:
    case Mode::strip: {
      const int status = runOperation(invocation);
      std::fflush(nullptr);
      // The engine's threads and libraries need no orderly teardown; ending
      // here keeps a stop signal from racing static destructors.
      _exit(status);
    }
    case Mode::batchWorker: {
      const int status = runWorker();
      _exit(status);
    }
    case Mode::usageError:
      writeLine(stderr, Whirlpane::translated(invocation.usage));
      return 2;
    case Mode::version:
      writeLine(stdout, Whirlpane::versionLine);
      return 0;
    case Mode::help:
      std::fputs(Whirlpane::helpText().c_str(), stdout);
      return 0;
    case Mode::application: {
      const Display display = findDisplay();
      if (display == Display::none) {
        writeLine(stderr, Whirlpane::translated(
                              "Whirlpane needs a graphical desktop, and none was found (DISPLAY "
                              "and WAYLAND_DISPLAY are not set). Without one, use the command "
                              "line: whirlpane --convert FILE --to FORMAT (see --help)."));
        return 1;
      }
      if (display == Display::unreachable) {
        writeLine(stderr, Whirlpane::translated(
                              "Whirlpane cannot reach the graphical desktop: nothing answers at "
                              "WAYLAND_DISPLAY or DISPLAY. Without one, use the command line: "
                              "whirlpane --convert FILE --to FORMAT (see --help)."));
        return 1;
      }
      std::string error;
      const int status = Whirlpane::runDesktop(argc, argv, error);
      if (status < 0) {
        writeLine(stderr, error);
        return 1;
      }
      return status;
    }
  }
  return 1;
}
