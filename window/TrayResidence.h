#pragma once
// Where the window goes when it is minimized: into the notification area,
// without a task-bar entry, or, where no area takes the icon, to the task
// bar. Also the area's menu (復帰, 監視中断 or 監視再開, 終了) and the watch
// for an area that goes away while the window sits in it.
#include <QObject>

class QAction;
class QMenu;
class QWidget;
class TNotificationAreaLoss;
class TTrayIcon;
class TWorkspace;

class TTrayResidence : public QObject {
    Q_OBJECT
public:
    // The icon, its menu and the watch are children of the window, which
    // tools find by their names.
    TTrayResidence(QWidget& window, TWorkspace& workspace);

    // The window was minimized: into the area, unless it stays in the task bar.
    void Minimized();
    // The window is back on screen by any route: the icon goes.
    void WindowShown();
    // From the area (its menu, a double click, a later start): the window
    // comes back and a paused monitor resumes.
    void ComeBack();
    // A start straight into the area, before the window was ever shown:
    // false, without a box, when no area takes the icon (yet).
    bool SettleAtStart();
    // Minimized with a task-bar entry, where no area is to be had. The
    // next minimize tries the area afresh once the user has restored it.
    void StayInTaskbar();

private:
    void EnterArea();
    void WatchArea();
    void AreaLost();
    void TogglePause();
    void ShowPauseCaption();

    QWidget& FWindow;
    TWorkspace& FWorkspace;
    TTrayIcon* FIcon = nullptr;
    TNotificationAreaLoss* FAreaLoss = nullptr;
    QAction* FPauseItem = nullptr;
    bool FKeepTaskbarEntry = false;  // the area refused the icon: minimizing stays in the task bar
};
