#pragma once
// Waits, without blocking the UI thread, for a notification area of either
// kind: an X11 system tray (the owner of "_NET_SYSTEM_TRAY_S<screen>") or a
// StatusNotifier host registered on the session bus. At login the panel
// often comes up after the programs it starts. Qt is not asked meanwhile: it
// settles the kind of area at its first question, once for the whole run.
#include <QObject>
#include <QTimer>

class TNotificationAreaWatch : public QObject {
    Q_OBJECT
public:
    // Emits Finished(true) once one is there, Finished(false) after
    // timeoutMs: once, from the event loop.
    explicit TNotificationAreaWatch(int timeoutMs, QObject* parent = nullptr);

signals:
    void Finished(bool appeared);

private:
    void Look();
    void AskForStatusNotifierHost();
    void Finish(bool appeared);

    bool FFinished = false;
    QTimer FPoll;
    QTimer FDeadline;
    bool FAsking = false;  // a question to the session bus is under way
};
