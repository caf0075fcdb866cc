#pragma once
// One running copy per workspace folder. The copy that runs the folder holds
// a lock file there and answers on a local socket; a later start on the same
// folder hands its request over instead of opening the files a second time,
// so that no two copies ever save over each other.
#include <functional>
#include <memory>

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QTimer>

#include "FolderLock.h"

class TRequestServer;

// What a later start asks of the running copy.
struct TCopyRequest {
    bool ShowWindow = true;      // false: only that it runs (a start into the tray)
    QByteArray ActivationToken;  // the desktop's activation token (Wayland)
    QByteArray StartupId;        // the startup notification id (X11)
};

enum class TClaim {
    Owner,       // this copy runs the folder: the lock is held, requests are answered
    Unguarded,   // no lock can be made there (a read-only folder): run as before
    Handed,      // the running copy took the request
    Unanswered,  // a copy holds the folder but does not answer
    Foreign,     // another computer's lock: taken over only if the user says so
    Failed,      // the lock cannot be made (FailureText)
};

class TRunningCopy : public QObject {
public:
    // folder: the workspace folder, with a trailing "/".
    explicit TRunningCopy(const std::string& folder);
    ~TRunningCopy() override;
    TRunningCopy(const TRunningCopy&) = delete;
    TRunningCopy& operator=(const TRunningCopy&) = delete;

    // Takes the folder, or hands the request to the copy that has it. A copy
    // on its way out (no longer answering) is waited for up to 10 s.
    // Whatever the lock file says, a copy listening on the socket is asked
    // first. takeForeign: the user agreed to take another computer's lock.
    TClaim Claim(const TCopyRequest& request, bool takeForeign = false);
    // Foreign: the host that lock names; Failed: the text for the user.
    QString ForeignHost() const { return FForeignHost; }
    QString FailureText() const { return FFailureText; }
    // Called on the UI thread for each request an owner receives.
    std::function<void(const TCopyRequest&)> OnRequest;
    // An owner remakes a lock file that disappears; this hears, once, when
    // it cannot (the copy keeps answering all the same).
    std::function<void(const QString&)> OnLockTrouble;

    // A closing window saves: from then on a later start waits for the lock
    // instead of being answered. A close that is cancelled answers again.
    void QuietWhileClosing(QObject* window);
    void StopAnswering();

    // The socket's name of earlier versions, in the temporary folder: the
    // user and the folder's canonical path.
    static QString OldServerName(const QString& folder);
    static QByteArray RequestLine(const TCopyRequest& request);
    static TCopyRequest RequestFrom(const QByteArray& line);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool StartAnswering();
    void KeepLock();

    std::string FSocketFolder;
    std::string FSocketName;
    QString FOldName;
    TFolderLock FLock;
    QTimer FLockWatch;
    bool FLockTroubleTold = false;
    QString FForeignHost;
    QString FFailureText;
    std::unique_ptr<TRequestServer> FServer;
    QObject* FClosingWindow = nullptr;
    bool FInClose = false;
};
