#pragma once
// The program's start with --minimized: into the notification area, as if
// the window had been minimized right after it was built.
class TMainWindow;

// A tray that is not there yet is awaited up to 30 s, without blocking;
// then the window minimizes to the task bar instead, without a box.
void StartInTray(TMainWindow& form);
