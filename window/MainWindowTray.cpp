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
#include "ReadProgress.h"
#include "TrayIcon.h"

void TMainWindow::CreateComponents()
{
    TrayMenu = new QMenu(this);
    TrayMenu->setObjectName(QStringLiteral("TrayMenu"));
    RestoreItem = TrayMenu->addAction(QStringLiteral("復帰"));
    PauseItem = TrayMenu->addAction(QStringLiteral("監視中断"));
    MenuSeparator = TrayMenu->addSeparator();
    ExitItem = TrayMenu->addAction(QStringLiteral("終了"));
    RestoreItem->setObjectName(QStringLiteral("RestoreItem"));
    PauseItem->setObjectName(QStringLiteral("PauseItem"));
    MenuSeparator->setObjectName(QStringLiteral("MenuSeparator"));
    ExitItem->setObjectName(QStringLiteral("ExitItem"));
    connect(RestoreItem, &QAction::triggered, this, &TMainWindow::RestoreFromTray);
    connect(PauseItem, &QAction::triggered, this, &TMainWindow::TogglePauseFromTray);
    connect(ExitItem, &QAction::triggered, this, &QWidget::close);

    TrayIcon = new TTrayIcon(this);
    TrayIcon->setObjectName(QStringLiteral("TrayIcon"));
    TrayIcon->SetIcon(TrayIconImage());
    TrayIcon->SetToolTip(QStringLiteral("Linkrake"));
    TrayIcon->SetRightMenu(TrayMenu);
    connect(TrayIcon, &TTrayIcon::DoubleClicked, this, &TMainWindow::RestoreFromTray);

    ClipboardWatcher = new TClipboardWatcher(this);
    ClipboardWatcher->setObjectName(QStringLiteral("ClipboardWatcher"));
    connect(ClipboardWatcher, &TClipboardWatcher::Changed, this, &TMainWindow::ClipboardChanged);
    ClipboardWatcher->Start();
}

void TMainWindow::MonitoringToggled()
{
    ClipboardMonitor::SwitchMonitoring(Workspace(), FUi->MonitorCheck->isChecked());
}

void TMainWindow::ClipboardChanged()
{
    // Checked before the controls are bound: the program's own clipboard
    // writes arrive here in the middle of the handler that makes them.
    if (!Workspace().MonitorEnabled || Workspace().ClipIgnore)
        return;
    // The list is being read into: the change is taken up when that ends.
    if (Reading->Reading()) {
        FClipboardChangedDuringRead = true;
        return;
    }
    RunWorkspaceHandler([this] { ClipboardMonitor::RewriteClipboard(Workspace()); });
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
        TrayIcon->SetVisible(true);
        shown = true;
    });
    if (!shown)
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
    TrayIcon->SetVisible(false);
    ClipboardMonitor::Resume(Workspace());
    ShowPauseCaption();
}

void TMainWindow::ShowPauseCaption()
{
    PauseItem->setText(Workspace().MonitorEnabled ? QStringLiteral("監視中断") : QStringLiteral("監視再開"));
}

void TMainWindow::TogglePauseFromTray()
{
    ClipboardMonitor::TogglePause(Workspace());
    ShowPauseCaption();
}
