// The non-visual components and the handlers of clipboard monitoring and
// tray residency that they raise.
#include "MainWindow.h"

#include <QAction>
#include <QCheckBox>
#include <QMenu>
#include <QTimer>

#include "WindowArtwork.h"
#include "Workspace.h"
#include "monitor/ClipboardMonitor.h"
#include "ui_MainWindow.h"

#include "ClipboardWatcher.h"
#include "NotificationAreaLoss.h"
#include "ReadProgress.h"
#include "TrayIcon.h"

void TMainWindow::CreateComponents()
{
    FTrayMenu = new QMenu(this);
    FTrayMenu->setObjectName(QStringLiteral("TrayMenu"));
    FRestoreItem = FTrayMenu->addAction(QStringLiteral("復帰"));
    FPauseItem = FTrayMenu->addAction(QStringLiteral("監視中断"));
    FMenuSeparator = FTrayMenu->addSeparator();
    FExitItem = FTrayMenu->addAction(QStringLiteral("終了"));
    FRestoreItem->setObjectName(QStringLiteral("RestoreItem"));
    FPauseItem->setObjectName(QStringLiteral("PauseItem"));
    FMenuSeparator->setObjectName(QStringLiteral("MenuSeparator"));
    FExitItem->setObjectName(QStringLiteral("ExitItem"));
    connect(FRestoreItem, &QAction::triggered, this, &TMainWindow::RestoreFromTray);
    connect(FPauseItem, &QAction::triggered, this, &TMainWindow::TogglePauseFromTray);
    connect(FExitItem, &QAction::triggered, this, &QWidget::close);

    FTrayIcon = new TTrayIcon(this);
    FTrayIcon->setObjectName(QStringLiteral("TrayIcon"));
    FTrayIcon->SetIcon(TrayIconImage());
    FTrayIcon->SetToolTip(QStringLiteral("Linkrake"));
    FTrayIcon->SetRightMenu(FTrayMenu);
    connect(FTrayIcon, &TTrayIcon::DoubleClicked, this, &TMainWindow::RestoreFromTray);
    FAreaLoss = new TNotificationAreaLoss(this);
    connect(FAreaLoss, &TNotificationAreaLoss::Lost, this, &TMainWindow::NotificationAreaLost);

    FClipboardWatcher = new TClipboardWatcher(this);
    FClipboardWatcher->setObjectName(QStringLiteral("ClipboardWatcher"));
    connect(FClipboardWatcher, &TClipboardWatcher::Changed, this, &TMainWindow::ClipboardChanged);
    FClipboardWatcher->Start();
}

void TMainWindow::MonitoringToggled()
{
    ClipboardMonitor::SwitchMonitoring(Workspace(), FUi->MonitorCheck->isChecked());
}

void TMainWindow::ClipboardChanged()
{
    // The program's own clipboard writes arrive here in the middle of the
    // handler that makes them, with ClipIgnore raised.
    if (!Workspace().MonitorEnabled || Workspace().ClipIgnore)
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
    StopLinkCheck();
    RunCommand([this] { ClipboardMonitor::RewriteClipboard(Workspace()); });
}

void TMainWindow::LeaveForTray()
{
    // Hiding the window inside its own state change confuses window
    // managers; leave the notification first.
    QTimer::singleShot(0, this, &TMainWindow::MinimizeToTray);
}

void TMainWindow::MinimizeToTray()
{
    if (!isMinimized())
        return;  // restored meanwhile
    hide();      // no window, so no task-bar entry
    bool shown = false;
    // A desktop without a tray refuses the icon, and that is reported.
    Workspace().Run([this, &shown] {
        FTrayIcon->SetVisible(true);
        shown = true;
    });
    if (shown)
        WatchArea();
    else
        GiveTaskbarEntryBack();
}

void TMainWindow::WatchArea()
{
    if (FTrayIcon->Visible())
        FAreaLoss->Watch(TTrayIcon::CurrentArea());
}

void TMainWindow::NotificationAreaLost()
{
    // A panel that crashed or restarts took the icon along: the window is
    // the way back until an area takes the icon again, which Qt does by
    // itself as long as the icon stays shown. No box: nobody asked for one.
    if (isHidden())
        GiveTaskbarEntryBack();
}

void TMainWindow::GiveTaskbarEntryBack()
{
    // Without an icon in the tray the window is the only way back to the
    // program: it keeps its task-bar entry, minimized, and the next minimize
    // tries the tray afresh once the user has restored it.
    FKeepInTaskbar = true;
    showMinimized();
}

void TMainWindow::RestoreFromTray()
{
    showNormal();
    raise();
    activateWindow();
    FAreaLoss->Stop();
    FTrayIcon->SetVisible(false);
    ClipboardMonitor::Resume(Workspace());
    ShowPauseCaption();
}

void TMainWindow::ShowPauseCaption()
{
    FPauseItem->setText(Workspace().MonitorEnabled ? QStringLiteral("監視中断") : QStringLiteral("監視再開"));
}

void TMainWindow::TogglePauseFromTray()
{
    ClipboardMonitor::TogglePause(Workspace());
    ShowPauseCaption();
}
