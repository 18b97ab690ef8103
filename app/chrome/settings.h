// The user's settings file: $XDG_CONFIG_HOME/Whirlpane/Whirlpane.conf (or
// ~/.config/... without that variable), an INI file holding a few on/off keys
// ("automaticDrag", "hasOpenedWhirlpane", "useSystemGlass").
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

}  // namespace Whirlpane
