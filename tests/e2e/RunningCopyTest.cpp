// One running copy per workspace folder, on a real X server: later starts
// of the same copy meet the running one, a closing one or a dead one.
#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <cstring>

#include <fcntl.h>
#include <pwd.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include "DesktopSession.h"

namespace {

const QString Title = QStringLiteral("Linkrake Professional");
constexpr int EntryX = 100, EntryY = 37;

void AddTypedUrl(TProgramUnderTest& program, const char* url)
{
    program.ClickAt(EntryX, EntryY);
    program.Key(QStringLiteral("ctrl+a"));
    RunCommand(QStringLiteral("xdotool"), {QStringLiteral("type"), QString::fromLatin1(url)});
    program.Key(QStringLiteral("Return"));
    Pause(300);
}

// The box of a start that found a copy not answering, dismissed.
bool DismissedBox(const QString& mainWindow)
{
    QString box;
    WaitFor(
        [&] {
            for (const QString& window : FindWindows(Title, true))
                if (window != mainWindow)
                    box = window;
            return !box.isEmpty();
        },
        15000);
    if (box.isEmpty())
        return false;
    RunCommand(QStringLiteral("xdotool"), {QStringLiteral("windowactivate"), QStringLiteral("--sync"), box});
    RunCommand(QStringLiteral("xdotool"), {QStringLiteral("key"), QStringLiteral("Return")});
    return true;
}

// Where the running copy of the folder answers: the user's runtime folder
// when it is private, else one under the home, named by device and inode.
QString SocketOf(const QString& folder)
{
    const uid_t uid = ::geteuid();
    QString base = QStringLiteral("/run/user/%1").arg(uid);
    struct stat info { };
    if (::lstat(base.toUtf8().constData(), &info) != 0 || info.st_uid != uid || (info.st_mode & 0777) != 0700)
        base = QString::fromUtf8(::getpwuid(uid)->pw_dir) + QStringLiteral("/.local/state/linkrake");
    ::stat(folder.toUtf8().constData(), &info);
    return base
           + QString::asprintf("/linkrake-%llx-%llx", static_cast<unsigned long long>(info.st_dev),
                               static_cast<unsigned long long>(info.st_ino));
}

// A start of the program at that path, with a changed environment.
std::unique_ptr<QProcess> StartAt(const QString& binary, const QStringList& environment = {})
{
    auto process = std::make_unique<QProcess>();
    process->setProcessChannelMode(QProcess::ForwardedOutputChannel);
    QProcessEnvironment variables = QProcessEnvironment::systemEnvironment();
    variables.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    for (const QString& setting : environment)
        variables.insert(setting.section(u'=', 0, 0), setting.section(u'=', 1));
    process->setProcessEnvironment(variables);
    process->start(binary, {});
    process->waitForStarted(5000);
    return process;
}

QString ErrorsOf(QProcess& process)
{
    return QString::fromLocal8Bit(process.readAllStandardError());
}

bool Root()
{
    return ::geteuid() == 0;
}

}  // namespace

TEST(RunningCopy, ALaterStartBringsTheWindowBackFromTheTrayAndEnds)
{
    TBackgroundProgram trayHost(QStringLiteral("trayer"),
                                {QStringLiteral("--edge"), QStringLiteral("bottom")});
    Pause(800);
    TProgramUnderTest program("[SYSTEM]\r\nCB=0\r\n", "http://kept/\r\n");
    ASSERT_TRUE(program.Start());
    AddTypedUrl(program, "http://typed.example/");

    RunCommand(QStringLiteral("xdotool"), {QStringLiteral("windowminimize"), program.AnyWindow()});
    ASSERT_TRUE(WaitFor([&] { return program.VisibleWindow().isEmpty() && !TrayIconWindow().isEmpty(); }));

    auto minimized = program.StartAgain({QStringLiteral("--minimized")});
    EXPECT_EQ(ExitStatus(*minimized), 0);
    Pause(500);
    EXPECT_TRUE(program.VisibleWindow().isEmpty()) << "--minimized left the running copy as it was";

    // The launcher's startup id goes to the running copy's window.
    qputenv("DESKTOP_STARTUP_ID", "launcher/linkrake/1-0-host_TIME0");
    auto again = program.StartAgain();
    qunsetenv("DESKTOP_STARTUP_ID");
    EXPECT_EQ(ExitStatus(*again), 0);
    EXPECT_TRUE(WaitFor([&] { return !program.VisibleWindow().isEmpty() && TrayIconWindow().isEmpty(); }));
    const QString window = program.VisibleWindow();
    EXPECT_TRUE(WaitFor([&] {
        return RunCommand(QStringLiteral("xdotool"), {QStringLiteral("getactivewindow")}).Output.trimmed()
               == window.toLatin1();
    })) << "the window came back without the focus";
    EXPECT_TRUE(RunCommand(QStringLiteral("xprop"),
                           {QStringLiteral("-id"), window, QStringLiteral("_NET_STARTUP_ID")})
                    .Output.contains("launcher/linkrake/1-0-host_TIME0"));
    EXPECT_FALSE(program.Exited(0));
    EXPECT_EQ(FindWindows(Title, true).size(), 1);

    ASSERT_TRUE(program.Close());
    EXPECT_EQ(program.File(QStringLiteral("List.txt")),
              QByteArray("http://kept/\r\nhttp://typed.example/\r\n"));
}

TEST(RunningCopy, AStartWhileTheOnlyCopyClosesWaitsForItAndRuns)
{
    TProgramUnderTest program("[SYSTEM]\r\n", "http://kept/\r\n");
    ASSERT_TRUE(program.Start());
    AddTypedUrl(program, "http://typed.example/");
    const QString first = program.AnyWindow();
    RunCommand(QStringLiteral("wmctrl"), {QStringLiteral("-i"), QStringLiteral("-c"), first});
    ASSERT_TRUE(WaitFor([&] { return program.VisibleWindow().isEmpty(); }));

    // The closing copy may still hold the folder: this start waits for it.
    auto next = program.StartAgain();
    EXPECT_TRUE(program.Exited());
    EXPECT_TRUE(WaitFor([&] { return !FindWindow(Title, true).isEmpty(); }, 15000));
    EXPECT_EQ(next->state(), QProcess::Running);
    RunCommand(QStringLiteral("wmctrl"), {QStringLiteral("-c"), Title});
    EXPECT_EQ(ExitStatus(*next), 0);
    EXPECT_EQ(program.File(QStringLiteral("List.txt")),
              QByteArray("http://kept/\r\nhttp://typed.example/\r\n"));
}

TEST(RunningCopy, AStartAfterTheOnlyCopyWasKilledTakesTheFolderOver)
{
    TProgramUnderTest program("[SYSTEM]\r\n", "http://kept/\r\n");
    ASSERT_TRUE(program.Start());
    ::kill(static_cast<pid_t>(program.Pid()), SIGKILL);
    ASSERT_TRUE(program.Exited());

    QElapsedTimer timer;
    timer.start();
    ASSERT_TRUE(program.Start());
    EXPECT_LT(timer.elapsed(), 8000) << "the dead copy's lock was not taken over at once";
    AddTypedUrl(program, "http://after.kill/");
    ASSERT_TRUE(program.Close());
    EXPECT_EQ(program.File(QStringLiteral("List.txt")), QByteArray("http://kept/\r\nhttp://after.kill/\r\n"));
}

TEST(RunningCopy, AStartBesideAStoppedCopySaysSoAndEndsWithOneWritingNothing)
{
    TProgramUnderTest program("[SYSTEM]\r\n", "http://kept/\r\n");
    ASSERT_TRUE(program.Start());
    const QString first = program.AnyWindow();
    const QStringList before = QDir(program.Folder()).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    const QByteArray settings = program.File(QStringLiteral("Linkrake.ini"));
    ::kill(static_cast<pid_t>(program.Pid()), SIGSTOP);

    QElapsedTimer timer;
    timer.start();
    auto next = program.StartAgain();
    EXPECT_TRUE(DismissedBox(first));
    EXPECT_GE(timer.elapsed(), 4500) << "the box came before the copy had its time to answer";
    EXPECT_EQ(ExitStatus(*next), 1);
    EXPECT_EQ(QDir(program.Folder()).entryList(QDir::Files | QDir::Hidden, QDir::Name), before);
    EXPECT_EQ(program.File(QStringLiteral("Linkrake.ini")), settings);
    EXPECT_EQ(program.File(QStringLiteral("List.txt")), QByteArray("http://kept/\r\n"));

    ::kill(static_cast<pid_t>(program.Pid()), SIGCONT);
    ASSERT_TRUE(program.Close());
}

TEST(RunningCopy, ADeletedLockOrSocketStillLeadsLaterStartsToTheRunningCopy)
{
    TProgramUnderTest program("[SYSTEM]\r\n", "http://kept/\r\n");
    ASSERT_TRUE(program.Start());
    AddTypedUrl(program, "http://typed.example/");
    const QString lock = QDir(program.Folder()).filePath(QStringLiteral("Linkrake.lock"));
    const QByteArray pid = QByteArray::number(program.Pid()) + '\n';

    ASSERT_TRUE(QFile::remove(lock));
    auto afterLock = program.StartAgain();
    EXPECT_EQ(ExitStatus(*afterLock), 0);
    EXPECT_TRUE(WaitFor([&] { return program.File(QStringLiteral("Linkrake.lock")).startsWith(pid); }))
        << "the running copy did not make its lock again";

    const QString socket = SocketOf(program.Folder());
    ASSERT_TRUE(QFile::remove(socket)) << socket.toStdString();
    auto afterSocket = program.StartAgain();
    EXPECT_EQ(ExitStatus(*afterSocket), 0);
    EXPECT_EQ(FindWindows(Title, true).size(), 1);

    ASSERT_TRUE(program.Close());
    EXPECT_EQ(program.File(QStringLiteral("List.txt")),
              QByteArray("http://kept/\r\nhttp://typed.example/\r\n"));
    EXPECT_FALSE(QFile::exists(lock));
    EXPECT_FALSE(QFile::exists(socket));
}

TEST(RunningCopy, DamagedLocksNeitherBlockNorHangAStartAndAnotherMachinesIsAskedAbout)
{
    TProgramUnderTest program("[SYSTEM]\r\n", "http://kept/\r\n");
    const QString lock = QDir(program.Folder()).filePath(QStringLiteral("Linkrake.lock"));
    ASSERT_EQ(::mkfifo(lock.toUtf8().constData(), 0600), 0);
    auto fifo = program.StartAgain();
    EXPECT_TRUE(DismissedBox({}));
    EXPECT_EQ(ExitStatus(*fifo, 5000), 1);
    EXPECT_TRUE(ErrorsOf(*fifo).contains(
        QStringLiteral("Linkrake.lock を作成できません（通常のファイルではありません）。")));
    QFile::remove(lock);

    QFile foreign(lock);
    ASSERT_TRUE(foreign.open(QIODevice::WriteOnly));
    foreign.write("4242\nlinkrake\n<b>far-host</b>\n0123456789abcdef\nboot\n");
    foreign.close();
    auto declined = program.StartAgain();
    EXPECT_TRUE(DismissedBox({}));  // Return answers the default, no
    EXPECT_EQ(ExitStatus(*declined, 5000), 1);
    EXPECT_TRUE(program.File(QStringLiteral("Linkrake.lock")).startsWith("4242\n"));

    // What a power cut right after a start leaves.
    ASSERT_TRUE(foreign.open(QIODevice::WriteOnly | QIODevice::Truncate));
    foreign.close();
    QElapsedTimer timer;
    timer.start();
    ASSERT_TRUE(program.Start());
    EXPECT_LT(timer.elapsed(), 5000);
    ASSERT_TRUE(program.Close());
}

TEST(RunningCopy, ALockThatCannotBeWrittenOnAFullDiskStopsTheStart)
{
    if (!Root())
        GTEST_SKIP() << "needs root to mount a small file system";
    const QTemporaryDir mountPoint;
    const QString folder = mountPoint.path();
    ASSERT_EQ(RunCommand(QStringLiteral("mount"),
                         {QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"),
                          QStringLiteral("size=256m"), QStringLiteral("tmpfs"), folder})
                  .ExitCode,
              0);
    const QString binary = folder + QStringLiteral("/linkrake");
    QFile::copy(QStringLiteral(LINKRAKE_BINARY), binary);
    QFile::setPermissions(binary, QFile::ReadOwner | QFile::ExeOwner);
    QFile filler(folder + QStringLiteral("/filler"));
    filler.open(QIODevice::WriteOnly);
    const QByteArray chunk(1 << 20, 'x');
    while (filler.write(chunk) == chunk.size() && filler.flush())
        ;
    filler.close();

    auto start = StartAt(binary);
    EXPECT_TRUE(DismissedBox({}));
    EXPECT_EQ(ExitStatus(*start, 5000), 1);
    EXPECT_TRUE(ErrorsOf(*start).contains(
        QStringLiteral("Linkrake.lock を作成できません（ディスクがいっぱいです）。")))
        << "stderr";
    EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name),
              (QStringList{QStringLiteral("filler"), QStringLiteral("linkrake")}));
    RunCommand(QStringLiteral("umount"), {folder});
}

TEST(RunningCopy, AnotherUsersSocketUnderTheOldNameIsIgnored)
{
    if (!Root())
        GTEST_SKIP() << "needs root to act as another user";
    TProgramUnderTest program("[SYSTEM]\r\n", "http://kept/\r\n");
    const QByteArray hash =
        QCryptographicHash::hash(QDir(program.Folder()).canonicalPath().toUtf8(), QCryptographicHash::Sha256)
            .toHex()
            .left(32);
    const QByteArray path = QDir::tempPath().toUtf8() + "/linkrake-0-" + hash;
    // Another user's server under the name earlier versions used: it answers
    // "ok" and tells the test through a pipe.
    int told[2];
    ASSERT_EQ(::pipe2(told, O_NONBLOCK), 0);
    const pid_t squatter = ::fork();
    if (squatter == 0) {
        if (::setgid(65534) != 0 || ::setuid(65534) != 0)
            ::_exit(1);
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::memcpy(address.sun_path, path.constData(), static_cast<std::size_t>(path.size()) + 1);
        if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || ::listen(fd, 8) != 0)
            ::_exit(1);
        for (char line[256];;) {
            const int client = ::accept(fd, nullptr, nullptr);
            if (::read(client, line, sizeof line) > 0 && ::write(client, "ok\n", 3) == 3
                && ::write(told[1], "!", 1) == 1)
                ::close(client);
        }
    }
    EXPECT_TRUE(WaitFor([&] { return QFile::exists(QString::fromUtf8(path)); }));
    ASSERT_TRUE(program.Start());
    auto again = program.StartAgain();
    EXPECT_EQ(ExitStatus(*again), 0);
    EXPECT_EQ(FindWindows(Title, true).size(), 1);
    char byte = 0;
    EXPECT_EQ(::read(told[0], &byte, 1), -1) << "another user's program was asked";
    ::kill(squatter, SIGKILL);
    ::waitpid(squatter, nullptr, 0);
    ::close(told[0]);
    ::close(told[1]);
    QFile::remove(QString::fromUtf8(path));
    ASSERT_TRUE(program.Close());
}

TEST(RunningCopy, AStartByAnotherPathOrTemporaryFolderMeetsTheRunningCopy)
{
    TProgramUnderTest program("[SYSTEM]\r\n", "http://kept/\r\n");
    ASSERT_TRUE(program.Start());
    const QTemporaryDir otherTemporary;
    const QString binary = QDir(program.Folder()).filePath(QStringLiteral("linkrake"));
    auto elsewhere = StartAt(binary, {QStringLiteral("TMPDIR=") + otherTemporary.path()});
    EXPECT_EQ(ExitStatus(*elsewhere, 8000), 0);

    if (Root()) {
        const QTemporaryDir view;
        ASSERT_EQ(
            RunCommand(QStringLiteral("mount"), {QStringLiteral("--bind"), program.Folder(), view.path()})
                .ExitCode,
            0);
        auto bound = StartAt(QDir(view.path()).filePath(QStringLiteral("linkrake")));
        EXPECT_EQ(ExitStatus(*bound, 8000), 0);
        RunCommand(QStringLiteral("umount"), {view.path()});
    } else {
        std::printf("[ SKIPPED  ] the start through a bind mount needs root\n");
    }
    EXPECT_EQ(FindWindows(Title, true).size(), 1);
    ASSERT_TRUE(program.Close());
}
