// The desktop program's two switches in the settings file (see
// app/chrome/settings.h for where it lives and how a Boolean is read).
//
// Thread safety: main thread only.
#pragma once

namespace Whirlpane {

// "automaticDrag": show the wheel by itself while files are dragged. Absent,
// or anything but a Boolean, reads as on.
bool automaticDrag();
void setAutomaticDrag(bool on);

// "hasOpenedWhirlpane": the introduction has been shown once. Absent, or
// anything but a Boolean, reads as false.
bool hasOpenedWhirlpane();
void setHasOpenedWhirlpane();

}  // namespace Whirlpane
