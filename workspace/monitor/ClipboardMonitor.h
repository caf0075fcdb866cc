#pragma once
// Clipboard monitoring over the workspace: the reaction to a change of the
// clipboard while the workspace's Monitoring is watching.
#include <QString>

class TWorkspace;

namespace ClipboardMonitor {

// Reduces the clipboard to the URLs of its text. Uses the list as scratch
// space, so the user's list is emptied.
void RewriteClipboard(TWorkspace& workspace);

}  // namespace ClipboardMonitor
