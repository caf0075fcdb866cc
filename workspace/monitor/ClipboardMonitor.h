#pragma once
// Clipboard monitoring over the plain workspace: the reaction to a change
// of the clipboard, and the two switches that gate it — ClipIgnore (the CB
// option, also raised around the program's own writes) and MonitorEnabled
// (the tray menu's pause).
#include <QString>

class TWorkspace;

namespace ClipboardMonitor {

// Reduces the clipboard to the URLs of its text. Uses the list as scratch
// space, so the user's list is emptied.
void RewriteClipboard(TWorkspace& workspace);

// The CB check box changed state.
void SwitchMonitoring(TWorkspace& workspace, bool checked);

// The tray menu's pause entry.
void TogglePause(TWorkspace& workspace);

// Restoring from the tray always resumes a paused monitor.
void Resume(TWorkspace& workspace);

}  // namespace ClipboardMonitor
