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

#include "PopupMenu.h"
#include "QvClipDetector.h"
#include "ReadProgress.h"
#include "TrayIcon.h"

void TMainWindow::CreateComponents()
{
    TrayMenu = new TPopupMenu(this);
    TrayMenu->setObjectName(QStringLiteral("TrayMenu"));
    QMenu* menu = TrayMenu->Menu();
    RestoreItem = menu->addAction(QStringLiteral("復帰"));
    PauseItem = menu->addAction(QStringLiteral("監視中断"));
    MenuSeparator = menu->addSeparator();
    ExitItem = menu->addAction(QStringLiteral("終了"));
    RestoreItem->setObjectName(QStringLiteral("RestoreItem"));
    PauseItem->setObjectName(QStringLiteral("PauseItem"));
    MenuSeparator->setObjectName(QStringLiteral("MenuSeparator"));
    ExitItem->setObjectName(QStringLiteral("ExitItem"));
    connect(RestoreItem, &QAction::triggered, this, &TMainWindow::RestoreItemClick);
    connect(PauseItem, &QAction::triggered, this, &TMainWindow::PauseItemClick);
    connect(ExitItem, &QAction::triggered, this, &TMainWindow::ExitItemClick);

    // Built as from a window description: the stored properties are read
    // between the loading steps, and a visible icon is added once at the end.
    TrayIcon = new TTrayIcon(this);
    TrayIcon->setObjectName(QStringLiteral("TrayIcon"));
    TrayIcon->BeginLoading();
    TrayIcon->SetIcon(TrayIconImage());
    TrayIcon->SetRBPopupMenu(TrayMenu);
    TrayIcon->SetTipHelp("Linkrake");
    TrayIcon->OnDblClick = [this](QObject*) { TrayIconDoubleClick(); };
    TrayIcon->EndLoading();

    ClipDetector = new TQvClipDetector(this);
    ClipDetector->setObjectName(QStringLiteral("ClipDetector"));
    ClipDetector->SetOnClipChange([this](QObject*) { ClipboardChanged(); });
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

void TMainWindow::AppMinimize()
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
    Workspace().Run([this, &shown] {
        ShowTrayIcon();
        shown = true;
    });
    if (!shown)
        GiveTaskbarEntryBack();
}

void TMainWindow::ShowTrayIcon()
{
    TrayIcon->SetVisible(true);
    // An icon refused before stays "visible" without being in the tray;
    // writing true again would change nothing and leave no way back.
    if (!TrayIcon->Registered())
        throw ENotifyIconError("タスクトレイにアイコンを登録できません。");
}

void TMainWindow::GiveTaskbarEntryBack()
{
    // Without an icon in the tray the window is the only way back to the
    // program: it keeps its task-bar entry, minimized, and the next minimize
    // tries the tray afresh once the user has restored it.
    TrayIcon->SetVisible(false);
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

void TMainWindow::TrayIconDoubleClick()
{
    RestoreFromTray();
}

void TMainWindow::RestoreItemClick()
{
    RestoreFromTray();
}

void TMainWindow::PauseItemClick()
{
    ClipboardMonitor::TogglePause(Workspace());
    ShowPauseCaption();
}

void TMainWindow::ExitItemClick()
{
    close();
}
