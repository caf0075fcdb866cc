// The lock file and the socket of the one running copy per folder, on a
// real file system: damaged locks, live ones, another machine's, and the
// private folder the socket lives in.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QFile>
#include <QSysInfo>
#include <QTemporaryDir>

#include "app/desktop/CopySocket.h"
#include "app/desktop/FolderLock.h"

namespace {

constexpr uid_t Nobody = 65534;

struct Folder {
    QTemporaryDir Dir;
    std::string Path = Dir.path().toStdString() + "/";
    std::string Lock = Path + "Linkrake.lock";
    void Write(const QByteArray& bytes) const
    {
        QFile file(QString::fromStdString(Lock));
        file.open(QIODevice::WriteOnly);
        file.write(bytes);
    }
    QByteArray Read() const
    {
        QFile file(QString::fromStdString(Lock));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(none)");
    }
};

mode_t ModeOf(const std::string& path)
{
    struct stat info { };
    return ::lstat(path.c_str(), &info) == 0 ? info.st_mode : 0;
}

// The work's status as another user would get it: root drops to nobody in a
// child; anyone else is already not the owner of what root made.
int AsAnotherUser(const std::function<int()>& work)
{
    if (::geteuid() != 0)
        return work();
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(::setgid(Nobody) == 0 && ::setuid(Nobody) == 0 ? work() : 99);
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 98;
}

}  // namespace

TEST(FolderLock, DamagedAndDeadLocksAreTakenAtOnceAndOthersAreNot)
{
    const QByteArray here = "999999999\nlinkrake\nthis-host\n" + QSysInfo::machineUniqueId() + "\nboot\n";
    struct Case {
        const char* Name;
        std::function<void(const Folder&)> Make;
        TLockState Expected;
    };
    const Case cases[] = {
        {"none", [](const Folder&) {}, TLockState::Held},
        {"empty", [](const Folder& f) { f.Write(""); }, TLockState::Held},
        {"garbage", [](const Folder& f) { f.Write("\x01\xff garbage"); }, TLockState::Held},
        {"this machine, dead", [&](const Folder& f) { f.Write(here); }, TLockState::Held},
        {"dangling link", [](const Folder& f) { ::symlink((f.Path + "target").c_str(), f.Lock.c_str()); },
         TLockState::Held},
        {"FIFO", [](const Folder& f) { ::mkfifo(f.Lock.c_str(), 0600); }, TLockState::Failed},
        {"folder", [](const Folder& f) { ::mkdir(f.Lock.c_str(), 0700); }, TLockState::Failed},
        {"other machine", [](const Folder& f) { f.Write("12\nlinkrake\nfar-host\n0123abcd\nboot\n"); },
         TLockState::Foreign},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        const Folder folder;
        c.Make(folder);
        TFolderLock lock(folder.Path);
        const TLockAttempt attempt = lock.Take();
        EXPECT_EQ(attempt.State, c.Expected);
        if (c.Expected == TLockState::Failed) {
            EXPECT_EQ(LockFailureText(attempt.Reason),
                      QStringLiteral("Linkrake.lock を作成できません（通常のファイルではありません）。"));
        }
        if (c.Expected == TLockState::Foreign) {
            EXPECT_EQ(attempt.ForeignHost, QStringLiteral("far-host"));
            EXPECT_EQ(lock.Take(true).State, TLockState::Held);
        }
        if (lock.Held()) {
            EXPECT_EQ(ModeOf(folder.Lock), S_IFREG | 0600);
            EXPECT_EQ(folder.Read(), TFolderLock::Contents());
            EXPECT_FALSE(QFile::exists(QString::fromStdString(folder.Path + "target")));
            // Held: a second holder in the same folder waits.
            EXPECT_EQ(TFolderLock(folder.Path).Take(true).State, TLockState::Busy);
        }
    }
}

TEST(FolderLock, AHolderRemakesItsDeletedLockAndRemovesOnlyItsOwn)
{
    const Folder folder;
    TFolderLock lock(folder.Path);
    ASSERT_EQ(lock.Take().State, TLockState::Held);
    ::unlink(folder.Lock.c_str());
    EXPECT_EQ(lock.Keep(), QString());
    EXPECT_EQ(folder.Read(), TFolderLock::Contents());
    EXPECT_EQ(TFolderLock(folder.Path).Take().State, TLockState::Busy);

    // Replaced by a file of someone else's making: left where it is.
    ::rename(folder.Lock.c_str(), (folder.Path + "moved").c_str());
    folder.Write("replaced");
    lock.Release();
    EXPECT_EQ(folder.Read(), QByteArray("replaced"));
}

TEST(FolderLock, AnUnreadableLockIsTakenOverAndAReadOnlyFolderRunsUnlocked)
{
    const Folder folder;
    folder.Write("");
    ::chmod(folder.Lock.c_str(), 0);
    ::chown(folder.Path.c_str(), Nobody, Nobody);
    ::chmod(folder.Path.c_str(), 0700);
    EXPECT_EQ(AsAnotherUser([&] { return static_cast<int>(TFolderLock(folder.Path).Take().State); }),
              static_cast<int>(TLockState::Held));

    // A deleted lock that cannot be made again is told, with the reason.
    const Folder shrinking;
    ::chown(shrinking.Path.c_str(), Nobody, Nobody);
    EXPECT_EQ(AsAnotherUser([&] {
                  TFolderLock lock(shrinking.Path);
                  const bool held = lock.Take().State == TLockState::Held;
                  ::unlink(shrinking.Lock.c_str());
                  ::chmod(shrinking.Path.c_str(), 0555);
                  return held && lock.Keep() == QStringLiteral("アクセスが拒否されました") ? 0 : 1;
              }),
              0);

    const Folder readOnly;
    ::chmod(readOnly.Path.c_str(), 0555);
    EXPECT_EQ(AsAnotherUser([&] { return static_cast<int>(TFolderLock(readOnly.Path).Take().State); }),
              static_cast<int>(TLockState::ReadOnly));
}

TEST(CopySocket, ThePrivateFolderIsTheUsersOwnAndAListenerIsNeverReplaced)
{
    const QTemporaryDir root;
    const std::string base = root.path().toStdString();
    const std::string runtime = base + "/run", home = base + "/home";
    const std::string fallback = home + "/.local/state/linkrake/";
    ::mkdir(home.c_str(), 0755);
    EXPECT_EQ(ChoosePrivateFolder(::geteuid(), runtime, home), fallback) << "no runtime folder";
    EXPECT_EQ(ModeOf(fallback), S_IFDIR | 0700);
    ::chmod(fallback.c_str(), 0755);
    ::mkdir(runtime.c_str(), 0755);
    EXPECT_EQ(ChoosePrivateFolder(::geteuid(), runtime, home), fallback) << "a runtime folder others enter";
    EXPECT_EQ(ModeOf(fallback), S_IFDIR | 0700);
    ::chmod(runtime.c_str(), 0700);
    EXPECT_EQ(ChoosePrivateFolder(::geteuid(), runtime, home), runtime + "/");
    EXPECT_EQ(ChoosePrivateFolder(::geteuid() + 1, runtime, home), std::string()) << "someone else's";

    // A name too long for a socket address still works, through the folder.
    const std::string deep = base + "/" + std::string(100, 'd') + "/";
    ::mkdir(deep.c_str(), 0700);
    const TSocketPath path(deep, "linkrake-1-2");
    TBind bound = TBind::Failed;
    const int listener = ListenAt(path, bound);
    ASSERT_EQ(bound, TBind::Listening);
    EXPECT_EQ(ModeOf(deep + "linkrake-1-2") & S_IFMT, static_cast<mode_t>(S_IFSOCK));
    const TSocketPath again(deep, "linkrake-1-2");
    EXPECT_EQ(ListenAt(again, bound), -1);
    EXPECT_EQ(bound, TBind::Occupied);
    // A socket left by a copy that died is replaced.
    ::close(listener);
    const int next = ListenAt(again, bound);
    EXPECT_EQ(bound, TBind::Listening);
    ::close(next);
}
