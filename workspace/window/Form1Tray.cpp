// The non-visual components and the handlers of clipboard monitoring and
// tray residency that they raise.
#include "Form1U.h"

#include <QAction>
#include <QCheckBox>
#include <QMenu>
#include <QTimer>

#include "Form1Artwork.h"
#include "Workspace.h"
#include "monitor/ClipboardMonitor.h"

#include "PopupMenu.h"
#include "QvClipDetector.h"
#include "TrayIcon.h"

void TForm1::CreateComponents()
{
    PopupMenu1 = new TPopupMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    QMenu* menu = PopupMenu1->Menu();
    N1 = menu->addAction(QStringLiteral("復帰"));
    N2 = menu->addAction(QStringLiteral("監視中断"));
    N3 = menu->addSeparator();
    Exit1 = menu->addAction(QStringLiteral("終了"));
    N1->setObjectName(QStringLiteral("N1"));
    N2->setObjectName(QStringLiteral("N2"));
    N3->setObjectName(QStringLiteral("N3"));
    Exit1->setObjectName(QStringLiteral("Exit1"));
    connect(N1, &QAction::triggered, this, &TForm1::N1Click);
    connect(N2, &QAction::triggered, this, &TForm1::N2Click);
    connect(Exit1, &QAction::triggered, this, &TForm1::Exit1Click);

    // Built as from a window description: the stored properties are read
    // between the loading steps, and a visible icon is added once at the end.
    TrayIcon1 = new TTrayIcon(this);
    TrayIcon1->setObjectName(QStringLiteral("TrayIcon1"));
    TrayIcon1->BeginLoading();
    TrayIcon1->SetIcon(TrayIconImage());
    TrayIcon1->SetRBPopupMenu(PopupMenu1);
    TrayIcon1->SetTipHelp("Linkrake");
    TrayIcon1->OnDblClick = [this](QObject*) { TrayIcon1DblClick(); };
    TrayIcon1->EndLoading();

    QvClipDetector1 = new TQvClipDetector(this);
    QvClipDetector1->setObjectName(QStringLiteral("QvClipDetector1"));
    QvClipDetector1->SetOnClipChange([this](QObject*) { QvClipDetector1ClipChange(); });
}

void TForm1::CheckBox4Click()
{
    ClipboardMonitor::CBClicked(Workspace(), CheckBox4->isChecked());
}

void TForm1::QvClipDetector1ClipChange()
{
    // Checked before the controls are bound: the program's own clipboard
    // writes arrive here in the middle of the handler that makes them.
    if (!Workspace().MonitorEnabled || Workspace().ClipIgnore)
        return;
    RunWorkspaceHandler([this] { ClipboardMonitor::ClipChange(Workspace()); });
}

void TForm1::AppMinimize()
{
    // Hiding the window inside its own state change confuses window
    // managers; leave the notification first.
    QTimer::singleShot(0, this, &TForm1::MinimizeToTray);
}

void TForm1::MinimizeToTray()
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

void TForm1::ShowTrayIcon()
{
    TrayIcon1->SetVisible(true);
    // An icon refused before stays "visible" without being in the tray;
    // writing true again would change nothing and leave no way back.
    if (!TrayIcon1->Registered())
        throw ENotifyIconError("タスクトレイにアイコンを登録できません。");
}

void TForm1::GiveTaskbarEntryBack()
{
    // Without an icon in the tray the window is the only way back to the
    // program: it keeps its task-bar entry, minimized, and the next minimize
    // tries the tray afresh once the user has restored it.
    TrayIcon1->SetVisible(false);
    FKeepInTaskbar = true;
    showMinimized();
}

void TForm1::RestoreFromTray()
{
    showNormal();
    raise();
    activateWindow();
    TrayIcon1->SetVisible(false);
    N2->setText(ClipboardMonitor::Resume(Workspace()));
}

void TForm1::TrayIcon1DblClick()
{
    RestoreFromTray();
}

void TForm1::N1Click()
{
    RestoreFromTray();
}

void TForm1::N2Click()
{
    N2->setText(ClipboardMonitor::TogglePause(Workspace()));
}

void TForm1::Exit1Click()
{
    close();
}
