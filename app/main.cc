// SPDX-License-Identifier: GPL-3.0-or-later
// The whirlpane executable. It decides its mode from the arguments alone; only
// the file operations load the engine library (and with it the codecs), so that
// --version, --help and usage errors answer at once.
#include <pthread.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
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

// True when a window system can be reached: an X server, a Wayland
// compositor, or a Qt platform chosen explicitly (offscreen, for tests).
bool hasDisplay() {
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
    const char* value = std::getenv(name);
    if (value && *value) return true;
  }
  return false;
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
  const fs::path source = absoluteSource(invocation.source);
  std::vector<std::string> lines;
  try {
    switch (invocation.mode) {
      case Mode::convert:
        for (const fs::path& path :
             engine->convert(source, invocation.format, invocation.outputFolder))
          lines.push_back(path.native());
        break;
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
  if (std::fflush(stdout) != 0) {
    writeLine(stderr, Whirlpane::translated(
                          "The results could not be written: standard output is not writable."));
    return 1;
  }
  return 0;
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
  while (const std::optional<Protocol::Message> request = reader.next()) {
    if (request->size() != 4 || (*request)[0] != "convert") return 2;
    const fs::path source = (*request)[1];
    if (abortOn && source.filename() == abortOn) std::abort();
    Protocol::Message reply{"saved"};
    try {
      for (const fs::path& path : engine->convert(source, (*request)[2], (*request)[3])) {
        reply.push_back(path.native());
      }
    } catch (const MediaEngine::Failure& failure) {
      using Kind = MediaEngine::Failure::Kind;
      const bool folder =
          failure.kind() == Kind::noRoom || failure.kind() == Kind::folderNotWritable;
      reply = {"failed", folder ? "folder" : "", failure.what()};
    } catch (const std::exception& failure) {
      reply = {"failed", "", engine->describe(failure)};
    }
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
