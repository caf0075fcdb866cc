#pragma once
// The desktop's handler of Internet shortcut files: opens the URL of each
// file in the default browser, without the main window and without touching
// the workspace.
#include <QStringList>

// One warning box for each file that could not be used; the others are
// opened all the same. Returns the exit status: 0 when every file opened.
int OpenShortcutFiles(const QStringList& files);
