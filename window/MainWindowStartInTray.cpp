// A start straight into the notification area, before the window was ever
// shown: no refusal box, since the caller waits for a tray to come.
#include "MainWindow.h"

#include "TrayIcon.h"

bool TMainWindow::SettleInTray()
{
    hide();
    try {
        FTrayIcon->SetVisible(true);  // a refused icon is left hidden
        WatchArea();
        return true;
    } catch (const ENotifyIconError&) {
        return false;
    }
}

void TMainWindow::MinimizeToTaskbar()
{
    GiveTaskbarEntryBack();
}
