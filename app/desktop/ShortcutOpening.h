#pragma once
// The desktop's handler of Internet shortcut files: opens the URL of each
// file in the default browser, without the main window and without touching
// the workspace.
#include <QStringList>

// Reads every file first; more than ten addresses are opened only after the
// user agrees. The files that could not be used are named together in one
// warning box; the others are opened all the same. Returns the exit status:
// 0 when nothing went wrong.
int OpenShortcutFiles(const QStringList& files);
