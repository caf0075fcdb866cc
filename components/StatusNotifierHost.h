#pragma once
// Whether tray icons of this process live on a D-Bus notification area
// (a StatusNotifierWatcher with a registered host) instead of being embedded
// into an X11 tray. Qt settles this once per process, at its first question
// about the tray, and never says which; the answer here is taken the same
// way, from the same session bus, and kept as long.

namespace StatusNotifierHost {

// Asks once, at the first call; later calls repeat that answer. Call it
// right before the first question to Qt about the tray.
bool InUse();
// Asks the session bus now.
bool Registered();

}  // namespace StatusNotifierHost
