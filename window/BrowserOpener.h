#pragma once
// Opening the list's chosen items in the desktop's default browser.
class QWidget;
class TWorkspace;

// More items than this are opened only after the user agrees.
constexpr int BrowserOpenWithoutAsking = 10;

// Reports on the workspace's status line; `parent` owns the question.
void OpenChosenItemsInBrowser(TWorkspace& workspace, QWidget* parent);
