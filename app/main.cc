// SPDX-License-Identifier: GPL-3.0-or-later
// The whirlpane executable. It decides its mode from the arguments alone; only
// the file operations load the engine library (and with it the codecs), so that
// --version, --help and usage errors answer at once.
#include <pthread.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cmath>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "app/command_line.h"
#include "app/engine_library.h"

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

// True when a window system can be reached: an X server, a Wayland
// compositor, or a Qt platform chosen explicitly (offscreen, for tests).
bool hasDisplay() {
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
    const char* value = std::getenv(name);
    if (value && *value) return true;
  }
  return false;
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
  };
  std::vector<std::optional<Outcome>> outcomes(sources.size());
  std::mutex lock;
  std::condition_variable done;
  std::atomic<size_t> next = 0;
  const auto work = [&] {
    for (size_t at; (at = next++) < sources.size();) {
      Outcome outcome;
      try {
        for (const fs::path& path : engine->convert(absoluteSource(sources[at]), invocation.format))
          outcome.lines.push_back(path.native());
      } catch (const std::exception& failure) {
        outcome.failure = asOneLine(engine->describe(failure));
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
  int status = 0;
  for (size_t at = 0; at < sources.size(); ++at) {
    std::unique_lock guard(lock);
    done.wait(guard, [&] { return outcomes[at].has_value(); });
    const Outcome outcome = std::move(*outcomes[at]);
    guard.unlock();
    if (outcome.failure) {
      status = 1;
      writeLine(stderr,
                sources.size() == 1 ? *outcome.failure : sources[at] + ": " + *outcome.failure);
    }
    for (const std::string& line : outcome.lines) writeLine(stdout, line);
  }
  for (std::thread& worker : workers) worker.join();
  return status;
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
    return 1;
  }
  for (const std::string& line : lines) writeLine(stdout, line);
  return flushResults() ? 0 : 1;
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
      if (!hasDisplay()) {
        writeLine(stderr, Whirlpane::translated(
                              "Whirlpane needs a graphical desktop, and none was found (DISPLAY "
                              "and WAYLAND_DISPLAY are not set). Without one, use the command "
                              "line: whirlpane --convert FILE --to FORMAT (see --help)."));
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
