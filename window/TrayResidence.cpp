#include "TrayResidence.h"

#include <QAction>
#include <QMenu>
#include <QTimer>
#include <QWidget>

#include "WindowArtwork.h"
#include "components/NotificationAreaLoss.h"
#include "components/TrayIcon.h"
#include "workspace/Workspace.h"

TTrayResidence::TTrayResidence(QWidget& window, TWorkspace& workspace)
    : QObject(&window), FWindow(window), FWorkspace(workspace)
{
    auto* menu = new QMenu(&window);
    menu->setObjectName(QStringLiteral("TrayMenu"));
    QAction* restore = menu->addAction(QStringLiteral("復帰"));
    FPauseItem = menu->addAction(QStringLiteral("監視中断"));
    QAction* separator = menu->addSeparator();
    QAction* exit = menu->addAction(QStringLiteral("終了"));
    restore->setObjectName(QStringLiteral("RestoreItem"));
    FPauseItem->setObjectName(QStringLiteral("PauseItem"));
    separator->setObjectName(QStringLiteral("MenuSeparator"));
    exit->setObjectName(QStringLiteral("ExitItem"));
    connect(restore, &QAction::triggered, this, &TTrayResidence::ComeBack);
    connect(FPauseItem, &QAction::triggered, this, &TTrayResidence::TogglePause);
    connect(exit, &QAction::triggered, &window, &QWidget::close);

    FIcon = new TTrayIcon(&window);
    FIcon->setObjectName(QStringLiteral("TrayIcon"));
    FIcon->SetIcon(TrayIconImage());
    FIcon->SetToolTip(QStringLiteral("Linkrake"));
    FIcon->SetRightMenu(menu);
    connect(FIcon, &TTrayIcon::DoubleClicked, this, &TTrayResidence::ComeBack);
    FAreaLoss = new TNotificationAreaLoss(&window);
    connect(FAreaLoss, &TNotificationAreaLoss::Lost, this, &TTrayResidence::AreaLost);
}

void TTrayResidence::Minimized()
{
    // Hiding the window inside its own state change confuses window
    // managers; leave the notification first.
    if (!FKeepTaskbarEntry)
        QTimer::singleShot(0, this, &TTrayResidence::EnterArea);
}

void TTrayResidence::EnterArea()
{
    if (!FWindow.isMinimized())
        return;      // restored meanwhile
    FWindow.hide();  // no window, so no task-bar entry
    bool shown = false;
    // A desktop without an area refuses the icon, and that is reported.
    FWorkspace.Run([this, &shown] {
        FIcon->SetVisible(true);
        shown = true;
    });
    if (shown)
        WatchArea();
    else
        StayInTaskbar();
}

void TTrayResidence::WindowShown()
{
    FKeepTaskbarEntry = false;
    // Back from the task bar where a lost area had left it: the icon an area
    // may have taken again goes, as after a return from the area.
    if (FWindow.isVisible() && FIcon->Visible()) {
        FAreaLoss->Stop();
        FIcon->SetVisible(false);
    }
}

bool TTrayResidence::SettleAtStart()
{
    FWindow.hide();
    try {
        FIcon->SetVisible(true);  // a refused icon is left hidden
        WatchArea();
        return true;
    } catch (const ENotifyIconError&) {
        return false;
    }
}

void TTrayResidence::StayInTaskbar()
{
    // Without an icon in the area the window is the only way back to the
    // program: it keeps its task-bar entry, minimized.
    FKeepTaskbarEntry = true;
    FWindow.showMinimized();
}

void TTrayResidence::ComeBack()
{
    FWindow.showNormal();
    FWindow.raise();
    FWindow.activateWindow();
    FAreaLoss->Stop();
    FIcon->SetVisible(false);
    FWorkspace.Monitoring.SetPaused(false);
    ShowPauseCaption();
}

void TTrayResidence::WatchArea()
{
    if (FIcon->Visible())
        FAreaLoss->Watch(TTrayIcon::CurrentArea());
}

void TTrayResidence::AreaLost()
{
    // A panel that crashed or restarts took the icon along: the window is
    // the way back until an area takes the icon again, which Qt does by
    // itself as long as the icon stays shown. No box: nobody asked for one.
    if (FWindow.isHidden())
        StayInTaskbar();
}

void TTrayResidence::TogglePause()
{
    FWorkspace.Monitoring.SetPaused(!FWorkspace.Monitoring.Paused());
    ShowPauseCaption();
}

void TTrayResidence::ShowPauseCaption()
{
    FPauseItem->setText(!FWorkspace.Monitoring.Paused() ? QStringLiteral("監視中断")
                                                        : QStringLiteral("監視再開"));
}
