// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/desktop/autostart.h"

#include <QCoreApplication>
#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <system_error>

namespace Whirlpane {
namespace {

namespace fs = std::filesystem;

fs::path configHome() {
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  if (xdg && *xdg && fs::path(xdg).is_absolute()) return xdg;
  const char* home = std::getenv("HOME");
  return fs::path(home ? home : "") / ".config";
}

// Desktop entry values escape spaces and a few characters; a path is quoted
// so that any folder name works in Exec.
std::string quotedForExec(const std::string& path) {
  std::string quoted = "\"";
  for (const char c : path) {
    if (c == '"' || c == '`' || c == '$' || c == '\\') quoted += '\\';
    quoted += c;
  }
  return quoted + "\"";
}

// "`what` "`path`"" in the program's language, for the error's message.
std::string failed(const char* what, const fs::path& path) {
  return QCoreApplication::translate("Whirlpane::Autostart", what)
      .arg(QString::fromStdString(path.string()))
      .toStdString();
}

}  // namespace

fs::path autostartEntryPath() { return configHome() / "autostart" / "whirlpane.desktop"; }

bool opensAtLogin() {
  std::ifstream entry(autostartEntryPath());
  if (!entry) return false;
  for (std::string line; std::getline(entry, line);) {
    if (line == "Hidden=true" || line == "X-GNOME-Autostart-enabled=false") return false;
  }
  return true;
}

void setOpensAtLogin(bool on, const fs::path& program) {
  const fs::path path = autostartEntryPath();
  if (!on) {
    std::error_code error;
    fs::remove(path, error);
    if (error) {
      //: Turning off "Open at Login" failed; %1 is the login entry's file.
      throw std::system_error(
          error,
          failed(QT_TRANSLATE_NOOP("Whirlpane::Autostart", "Could not remove \"%1\""), path));
    }
    return;
  }
  std::error_code error;
  fs::create_directories(path.parent_path(), error);
  if (error) {
    //: Turning on "Open at Login" failed; %1 is the folder of login entries.
    throw std::system_error(
        error, failed(QT_TRANSLATE_NOOP("Whirlpane::Autostart", "Could not create \"%1\""),
                      path.parent_path()));
  }
  std::ostringstream text;
  text << "[Desktop Entry]\n"
       << "Type=Application\n"
       << "Name=Whirlpane\n"
       << "Comment=Convert and touch up images and PDFs by dragging them\n"
       << "Exec=" << quotedForExec(program.string()) << "\n"
       << "Icon=whirlpane\n"
       << "Terminal=false\n"
       << "X-GNOME-Autostart-enabled=true\n";
  std::ofstream entry(path, std::ios::trunc);
  entry << text.str();
  entry.close();
  if (!entry) {
    //: Turning on "Open at Login" failed; %1 is the login entry's file.
    throw std::system_error(
        errno ? errno : EIO, std::generic_category(),
        failed(QT_TRANSLATE_NOOP("Whirlpane::Autostart", "Could not write \"%1\""), path));
  }
}

}  // namespace Whirlpane
