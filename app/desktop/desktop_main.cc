// SPDX-License-Identifier: GPL-3.0-or-later
// libwhirlpane-desktop.so: the desktop program, loaded by the whirlpane
// executable only in application mode, so that the command line never loads
// Qt.
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QApplication>
#include <QLocale>
#include <QSocketNotifier>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "app/desktop/launch_options.h"
#include "app/desktop/single_instance.h"
#include "app/desktop/tray_application.h"
#include "platform/interface_language.h"
#include "whirlpane/startup.h"

namespace {

int stopSignals[2] = {-1, -1};

void noteStop(int signal) {
  const char number = static_cast<char>(signal);
  [[maybe_unused]] const ssize_t written = ::write(stopSignals[1], &number, 1);
}

}  // namespace

extern "C" __attribute__((visibility("default"))) int whirlpaneDesktopMain(int argc, char** argv) {
  // The engine runs in this process for the editors; it starts before Qt
  // starts any thread.
  try {
    MediaEngine::start();
  } catch (const std::exception& failure) {
    std::fprintf(stderr, "%s\n", failure.what());
    return 1;
  }
  QApplication application(argc, argv);
  QApplication::setApplicationName("Whirlpane");
  QApplication::setDesktopFileName("whirlpane");
  QApplication::setQuitOnLastWindowClosed(false);
  // Before any window or text is made: the user's language, else English.
  Whirlpane::installInterfaceLanguage(Whirlpane::translationsFolder(),
                                      QLocale::system().uiLanguages());

  // A request that cannot be carried out is refused here, in the user's
  // language, before anything shows or is handed over.
  const std::vector<std::string> arguments(argv, argv + argc);
  const Whirlpane::LaunchOptions options = Whirlpane::parseLaunchOptions(arguments);
  if (const std::optional<std::string> problem = Whirlpane::requestProblem(options)) {
    std::fprintf(stderr, "%s\n", problem->c_str());
    return 2;
  }

  if (Whirlpane::SingleInstance::handOver(options)) return 0;

  std::error_code ignored;
  Whirlpane::TrayApplication tray(std::filesystem::read_symlink("/proc/self/exe", ignored));
  Whirlpane::SingleInstance instance;
  // Checked again on arrival: the file may have gone since, and any program of
  // this user may write to the socket.
  instance.listen([&tray](const Whirlpane::LaunchOptions& request) {
    if (const std::optional<std::string> problem = Whirlpane::requestProblem(request)) {
      tray.showError(QString::fromStdString(*problem));
    } else {
      tray.carryOut(request);
    }
  });

  // A polite stop (logout, kill, Ctrl+C) ends a running batch the same way
  // "Quit Whirlpane" does, so that no child is left writing.
  if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, stopSignals) != 0) {
    std::perror("whirlpane");
    return 1;
  }
  QSocketNotifier stops(stopSignals[0], QSocketNotifier::Read);
  QObject::connect(&stops, &QSocketNotifier::activated, &tray, [&tray] {
    char number = 0;
    [[maybe_unused]] const ssize_t n = ::read(stopSignals[0], &number, 1);
    tray.quit();
  });
  struct sigaction action {};
  action.sa_handler = noteStop;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (int signal : {SIGTERM, SIGINT, SIGHUP}) ::sigaction(signal, &action, nullptr);

  tray.launch(options);
  return application.exec();
}
