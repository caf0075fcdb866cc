// Clipboard monitoring in the window: the watcher of the desktop's
// clipboard and the reaction to its changes.
#include "ListLinkCheck.h"
#include "MainWindow.h"

#include <QCheckBox>

#include "ReadProgress.h"
#include "components/ClipboardWatcher.h"
#include "ui_MainWindow.h"
#include "workspace/Workspace.h"
#include "workspace/monitor/ClipboardMonitor.h"

void TMainWindow::WatchClipboard()
{
    FClipboardWatcher = new TClipboardWatcher(this);
    FClipboardWatcher->setObjectName(QStringLiteral("ClipboardWatcher"));
    connect(FClipboardWatcher, &TClipboardWatcher::Changed, this, &TMainWindow::ClipboardChanged);
    FClipboardWatcher->Start();
}

void TMainWindow::MonitoringToggled()
{
    Workspace().Monitoring.Switch(FUi->MonitorCheck->isChecked());
}

void TMainWindow::ClipboardChanged()
{
    // The program's own clipboard writes arrive here in the middle of the
    // handler that makes them, and are not watched.
    if (!Workspace().Monitoring.Watching())
        return;
    // The list is being read into, or a command's dialog is open: the
    // change is taken up once that has ended, once however many changes
    // came meanwhile.
    constexpr auto once = static_cast<Qt::ConnectionType>(Qt::SingleShotConnection | Qt::UniqueConnection);
    if (Reading->Reading()) {
        connect(Reading, &TReadProgress::Ended, this, &TMainWindow::ClipboardChanged, once);
        return;
    }
    if (Workspace().Running()) {
        connect(&Workspace(), &TWorkspace::CommandEnded, this, &TMainWindow::ClipboardChanged, once);
        return;
    }
    // Monitoring rewrites the list: a check of it stops first.
    FLinkCheck->Stop();
    RunCommand([this] { ClipboardMonitor::RewriteClipboard(Workspace()); });
}
