#pragma once
// Waits, without blocking the UI thread, for a notification area of either
// kind: an X11 system tray (the owner of "_NET_SYSTEM_TRAY_S<screen>") or a
// StatusNotifier host registered on the session bus. At login the panel
// often comes up after the programs it starts. Qt is not asked meanwhile: it
// settles the kind of area at its first question, once for the whole run.
#include <functional>

#include <QObject>
#include <QTimer>

class TNotificationAreaWatch : public QObject {
public:
    // done(true) once one is there, done(false) after timeoutMs; called once,
    // from the event loop.
    TNotificationAreaWatch(int timeoutMs, std::function<void(bool appeared)> done, QObject* parent = nullptr);

private:
    void Look();
    void AskForStatusNotifierHost();
    void Finish(bool appeared);

    std::function<void(bool)> FDone;
    QTimer FPoll;
    QTimer FDeadline;
    bool FAsking = false;  // a question to the session bus is under way
};
