// SPDX-License-Identifier: GPL-3.0-or-later
// "Open at Login": an XDG autostart entry, $XDG_CONFIG_HOME/autostart/
// whirlpane.desktop (or ~/.config/autostart/...), which desktops that follow
// the freedesktop.org autostart rules start at login.
//
// Thread safety: any thread; the file is the only state.
#pragma once

#include <filesystem>

namespace Whirlpane {

// Where the entry lives now; the environment is read on every call.
std::filesystem::path autostartEntryPath();

// True when the entry exists and does not hide itself ("Hidden=true", or
// "X-GNOME-Autostart-enabled=false", which some settings tools write).
bool opensAtLogin();

// Writes the entry (starting `program`), or removes it. Throws
// std::system_error, naming the file, when either fails; removing an absent
// entry is no failure.
void setOpensAtLogin(bool on, const std::filesystem::path& program);

}  // namespace Whirlpane
