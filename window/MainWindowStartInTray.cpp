// A start straight into the notification area, before the window was ever
// shown: no refusal box, since the caller waits for a tray to come.
#include "MainWindow.h"

#include "TrayIcon.h"

bool TMainWindow::SettleInTray()
{
    hide();
    try {
        ShowTrayIcon();
        return true;
    } catch (const ENotifyIconError&) {
        TrayIcon->SetVisible(false);
        return false;
    }
}

void TMainWindow::MinimizeToTaskbar()
{
    GiveTaskbarEntryBack();
}
