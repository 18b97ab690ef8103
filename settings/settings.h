// SPDX-License-Identifier: GPL-3.0-or-later
// The user's settings file: $XDG_CONFIG_HOME/Whirlpane/Whirlpane.conf (or
// ~/.config/... without that variable), an INI file holding a few on/off keys.
// Every read goes to the file, so a change made by hand or by another copy of
// the program counts at the next read.
//
// Thread safety: main thread only, like the windows that read it.
#pragma once

#include <QString>
#include <optional>

namespace Whirlpane {

// Where the settings file lives now; the environment is read on every call.
QString settingsFilePath();

// The Boolean stored under `key`, or none when the key is absent or holds
// anything but "true" or "false" (in any case), which is how a Boolean is
// written to the file.
std::optional<bool> storedBoolean(const QString& key);

// "automaticDrag": show the wheel by itself while files are dragged. Absent,
// or anything but a Boolean, reads as on.
bool automaticDrag();
void setAutomaticDrag(bool on);

// "hasOpenedWhirlpane": the introduction has been shown once. Absent, or
// anything but a Boolean, reads as false.
bool hasOpenedWhirlpane();
void setHasOpenedWhirlpane();

// "useSystemGlass": glass windows may use the desktop's blurred backdrop.
// Absent, or anything but a Boolean, reads as on.
bool systemGlassSetting();

}  // namespace Whirlpane
