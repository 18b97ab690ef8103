// The whirlpane executable. It decides its mode from the arguments alone; only
// a conversion loads the engine library (and with it the codecs), so that
// --version, --help and usage errors answer at once.
#include <pthread.h>
#include <signal.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
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

int convert(const Whirlpane::Invocation& invocation) {
  std::string error;
  const WhirlpaneEngine* engine = Whirlpane::loadEngine(error);
  if (!engine) {
    writeLine(stderr, error);
    return 1;
  }
  removeWorkingFilesOnStop(engine);
  std::vector<fs::path> written;
  try {
    written = engine->convert(absoluteSource(invocation.source), invocation.format);
  } catch (const std::exception& failure) {
    writeLine(stderr, engine->describe(failure));
    return 1;
  }
  for (const fs::path& path : written) writeLine(stdout, path.native());
  if (std::fflush(stdout) != 0) {
    writeLine(stderr, "The written files could not be listed: standard output is not writable.");
    return 1;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  using Mode = Whirlpane::Invocation::Mode;
  const Whirlpane::Invocation invocation = Whirlpane::parseCommandLine(std::vector<std::string>(argv, argv + argc));
  switch (invocation.mode) {
    case Mode::convert: {
      const int status = convert(invocation);
      std::fflush(nullptr);
      // The engine's threads and libraries need no orderly teardown; ending
      // here keeps a stop signal from racing static destructors.
      _exit(status);
    }
    case Mode::usageError:
      writeLine(stderr, Whirlpane::usageLine);
      return 2;
    case Mode::version:
      writeLine(stdout, Whirlpane::versionLine);
      return 0;
    case Mode::help:
      std::fputs(Whirlpane::helpText().c_str(), stdout);
      return 0;
    case Mode::application:
      writeLine(stderr,
                "Whirlpane: the desktop application is not part of this build yet; "
                "use --convert FILE --to FORMAT (see --help).");
      return 1;
  }
  return 1;
}
