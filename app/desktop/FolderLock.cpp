#include "FolderLock.h"

#include <cerrno>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QSysInfo>
#include <QThread>

#include "workspace/SaveReport.h"

namespace {

constexpr int GuardWaitMs = 1000;
constexpr int TakeRounds = 4;

bool CannotWrite(int code)
{
    return code == EROFS || code == EACCES || code == EPERM;
}

// Starts that examine, remove or make the lock do so one at a time: flock()
// on the folder itself, held only for that moment. Without it two starts
// could each remove a dead lock, the second one the first one's new lock.
class TFolderGuard {
public:
    explicit TFolderGuard(const std::string& folder)
    {
        FFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (FFd < 0)
            return;  // what is wrong with the folder shows when the lock is made
        for (int waited = 0; ::flock(FFd, LOCK_EX | LOCK_NB) != 0; waited += 10) {
            // A file system without flock() on folders goes unguarded.
            if (errno != EWOULDBLOCK || waited >= GuardWaitMs) {
                FBusy = errno == EWOULDBLOCK;
                return;
            }
            QThread::msleep(10);
        }
    }
    ~TFolderGuard()
    {
        if (FFd >= 0)
            ::close(FFd);
    }
    TFolderGuard(const TFolderGuard&) = delete;
    TFolderGuard& operator=(const TFolderGuard&) = delete;
    bool Busy() const { return FBusy; }

private:
    int FFd = -1;
    bool FBusy = false;
};

QByteArray ReadSome(int fd)
{
    QByteArray contents(4096, '\0');
    const ssize_t n = ::read(fd, contents.data(), static_cast<std::size_t>(contents.size()));
    contents.resize(n > 0 ? n : 0);
    return contents;
}

TLockAttempt Attempt(TLockState state, const QString& reason = {})
{
    return TLockAttempt{state, reason, {}};
}

QByteArray LineOf(const QByteArray& contents, int index)
{
    return contents.split('\n').value(index).trimmed();
}

}  // namespace

QString LockFailureText(const QString& reason)
{
    return QStringLiteral("Linkrake.lock を作成できません（%1）。").arg(reason);
}

TFolderLock::TFolderLock(const std::string& folder) : FFolder(folder), FPath(folder + "Linkrake.lock")
{ }

TFolderLock::~TFolderLock()
{
    Release();
}

QByteArray TFolderLock::Contents()
{
    return QByteArray::number(QCoreApplication::applicationPid()) + '\n'
           + QByteArray(program_invocation_short_name) + '\n' + QSysInfo::machineHostName().toUtf8() + '\n'
           + QSysInfo::machineUniqueId() + '\n' + QSysInfo::bootUniqueId() + '\n';
}

QByteArray TFolderLock::MachineOf(const QByteArray& contents)
{
    // A process id that is no number marks a damaged file.
    bool number = false;
    LineOf(contents, 0).toLongLong(&number);
    return number ? LineOf(contents, 3) : QByteArray();
}

QString TFolderLock::HostOf(const QByteArray& contents)
{
    return QString::fromUtf8(LineOf(contents, 2));
}

TLockAttempt TFolderLock::Take(bool takeForeign)
{
    if (Held())
        return Attempt(TLockState::Held);
    const TFolderGuard guard(FFolder);
    if (guard.Busy())
        return Attempt(TLockState::Busy);
    return TakeGuarded(takeForeign);
}

TLockAttempt TFolderLock::TakeGuarded(bool takeForeign)
{
    for (int round = 0; round < TakeRounds; ++round) {
        const TLockAttempt made = Create();
        if (made.State != TLockState::Busy)
            return made;
        // The name is taken: by whom, and is it alive?
        struct stat entry { };
        if (::lstat(FPath.c_str(), &entry) != 0)
            continue;  // gone meanwhile
        bool remove = S_ISLNK(entry.st_mode);
        if (!remove && !S_ISREG(entry.st_mode))
            return Attempt(TLockState::Failed, QStringLiteral("通常のファイルではありません"));
        if (!remove) {
            const int fd = ::open(FPath.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
            if (fd < 0 && errno != EACCES && errno != EPERM)
                continue;  // replaced meanwhile
            // A file that cannot be read is no lock of this user's program.
            remove = fd < 0;
            if (fd >= 0) {
                const bool alive = ::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK;
                const QByteArray contents = alive ? QByteArray() : ReadSome(fd);
                ::close(fd);
                if (alive)
                    return Attempt(TLockState::Busy);
                const QByteArray machine = MachineOf(contents);
                if (!takeForeign && !machine.isEmpty() && machine != QSysInfo::machineUniqueId())
                    return TLockAttempt{TLockState::Foreign, {}, HostOf(contents)};
                remove = true;
            }
        }
        if (remove && ::unlink(FPath.c_str()) != 0 && errno != ENOENT)
            return Attempt(CannotWrite(errno) ? TLockState::ReadOnly : TLockState::Failed,
                           SystemErrorReason(errno));
    }
    return Attempt(TLockState::Busy);
}

// Busy when the name is taken.
TLockAttempt TFolderLock::Create()
{
    const int fd = ::open(FPath.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) {
        if (errno == EEXIST)
            return Attempt(TLockState::Busy);
        return Attempt(CannotWrite(errno) ? TLockState::ReadOnly : TLockState::Failed,
                       SystemErrorReason(errno));
    }
    // A file system without flock() still has the exclusive create.
    ::flock(fd, LOCK_EX | LOCK_NB);
    const QByteArray contents = Contents();
    const ssize_t written = ::write(fd, contents.constData(), static_cast<std::size_t>(contents.size()));
    struct stat info { };
    if (written != contents.size() || ::fstat(fd, &info) != 0) {
        // A full disk: nothing is left behind, not even an empty lock.
        const int code = written < 0 || written == contents.size() ? errno : ENOSPC;
        ::unlink(FPath.c_str());
        ::close(fd);
        return Attempt(TLockState::Failed, SystemErrorReason(code));
    }
    FFd = fd;
    FDevice = info.st_dev;
    FInode = info.st_ino;
    return Attempt(TLockState::Held);
}

bool TFolderLock::StillOurs() const
{
    struct stat entry { };
    return ::lstat(FPath.c_str(), &entry) == 0 && entry.st_dev == FDevice && entry.st_ino == FInode;
}

QString TFolderLock::Keep()
{
    if (!Held() || StillOurs())
        return {};
    const TFolderGuard guard(FFolder);
    if (guard.Busy() || StillOurs())
        return {};
    // Whatever took the file's place is only taken over when nobody holds it.
    const int old = FFd;
    FFd = -1;
    const TLockAttempt made = TakeGuarded(true);
    if (made.State == TLockState::Held) {
        ::close(old);
        return {};
    }
    FFd = old;
    return made.State == TLockState::Busy ? QStringLiteral("別のLinkrakeが使用しています") : made.Reason;
}

void TFolderLock::Release()
{
    if (!Held())
        return;
    {
        const TFolderGuard guard(FFolder);
        if (StillOurs())
            ::unlink(FPath.c_str());
    }
    ::close(FFd);
    FFd = -1;
}
