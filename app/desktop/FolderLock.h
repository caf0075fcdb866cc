#pragma once
// The lock file "Linkrake.lock" of a workspace folder. Made with an
// exclusive create that never follows a symbolic link, mode 0600, and held
// with flock(): a lock whose flock is free belongs to nobody alive, whatever
// it says. The contents are those Qt's own lock files have (process id,
// program, host, machine id, boot id), so that a person can tell whose it is.
#include <string>

#include <sys/types.h>

#include <QByteArray>
#include <QString>

enum class TLockState {
    Held,      // this process holds the lock
    ReadOnly,  // the folder cannot be written to: no lock can be made there
    Busy,      // a process alive holds it
    Foreign,   // left by another computer, perhaps still running there
    Failed,    // it cannot be made, for Reason
};

struct TLockAttempt {
    TLockState State = TLockState::Failed;
    QString Reason;       // Failed: why, in the user's words
    QString ForeignHost;  // Foreign: the host named in the lock
};

class TFolderLock {
public:
    // folder: with a trailing "/".
    explicit TFolderLock(const std::string& folder);
    ~TFolderLock();
    TFolderLock(const TFolderLock&) = delete;
    TFolderLock& operator=(const TFolderLock&) = delete;

    // A lock nobody holds is taken over at once when it is damaged or names
    // this machine; one from another machine only with takeForeign.
    TLockAttempt Take(bool takeForeign = false);
    // For the holder: makes the file again when it has gone or been
    // replaced. Returns an empty text when the lock stands, else the reason.
    QString Keep();
    // Removes the file when it is still this holder's, and lets go.
    void Release();
    bool Held() const { return FFd >= 0; }

    // What a lock file of this process holds.
    static QByteArray Contents();
    // The machine a lock's contents name (empty for a damaged one), and its host.
    static QByteArray MachineOf(const QByteArray& contents);
    static QString HostOf(const QByteArray& contents);

private:
    TLockAttempt TakeGuarded(bool takeForeign);
    TLockAttempt Create();
    bool StillOurs() const;

    std::string FFolder;
    std::string FPath;
    int FFd = -1;
    dev_t FDevice = 0;
    ino_t FInode = 0;
};

// The text of a lock that cannot be made: "Linkrake.lock を作成できません（<reason>）。"
QString LockFailureText(const QString& reason);
