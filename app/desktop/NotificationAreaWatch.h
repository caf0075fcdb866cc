#pragma once
// Waits, without blocking the UI thread, for a notification area of either
// kind: an X11 system tray (the owner of "_NET_SYSTEM_TRAY_S<screen>") or a
// StatusNotifier watcher on the session bus. At login the panel often comes
// up after the programs it starts.
#include <functional>

#include <QObject>
#include <QTimer>

class TNotificationAreaWatch : public QObject {
public:
    // done(true) once one is there, done(false) after timeoutMs; called once,
    // from the event loop.
    TNotificationAreaWatch(int timeoutMs, std::function<void(bool appeared)> done, QObject* parent = nullptr);

private:
    void Finish(bool appeared);
    void WatchStatusNotifierWatcher();

    std::function<void(bool)> FDone;
    QTimer FPoll;
    QTimer FDeadline;
};
