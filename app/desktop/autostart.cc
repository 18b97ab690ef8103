// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/desktop/autostart.h"

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
    if (error) throw std::system_error(error, "Could not remove \"" + path.string() + "\"");
    return;
  }
  std::error_code error;
  fs::create_directories(path.parent_path(), error);
  if (error)
    throw std::system_error(error, "Could not create \"" + path.parent_path().string() + "\"");
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
    throw std::system_error(errno ? errno : EIO, std::generic_category(),
                            "Could not write \"" + path.string() + "\"");
  }
}

}  // namespace Whirlpane
