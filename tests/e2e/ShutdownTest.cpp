// The program ended from outside (signals, the desktop session's logout)
// and by the user when files cannot be saved: what the user had is saved or
// deliberately left, never lost behind their back.
#include <gtest/gtest.h>

#include <csignal>

#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include "DesktopSession.h"

namespace {

const QString Title = QStringLiteral("Linkrake Professional");
// LF line ends: a list written back by the program has CR LF.
const QByteArray ListAsGiven = "http://a.example/\nhttp://b.example/\n";
const QByteArray ListAsSaved = "http://a.example/\r\nhttp://b.example/\r\n";
constexpr uid_t Nobody = 65534;

// The program in a folder of its own, started directly or through a command
// such as setpriv, with its standard error kept.
class TEndingProgram {
public:
    TEndingProgram()
    {
        QFile::copy(QStringLiteral(LINKRAKE_BINARY), Path("linkrake"));
        QFile::setPermissions(Path("linkrake"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner
                                                    | QFile::ReadOther | QFile::ExeOther);
        Write("List.txt", ListAsGiven);
        Write("Linkrake.ini", "[SYSTEM]\r\nMEMO=PVD\r\n");  // a farewell box would keep it running
    }
    ~TEndingProgram()
    {
        if (FProcess.state() != QProcess::NotRunning) {
            FProcess.kill();
            FProcess.waitForFinished(3000);
        }
    }
    QString Path(const char* name) const { return FFolder.filePath(QString::fromUtf8(name)); }
    void Write(const char* name, const QByteArray& bytes)
    {
        QFile file(Path(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    void MakeFolder(const char* name)
    {
        QFile::remove(Path(name));
        ASSERT_TRUE(QDir(FFolder.path()).mkdir(QString::fromUtf8(name)));
    }
    QByteArray File(const char* name) const
    {
        QFile file(Path(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(unreadable)");
    }
    // The folder and the program become the ordinary user's; the X server
    // lets that user in through a copy of the authority file.
    QStringList AsOrdinaryUser()
    {
        const QString authority = Path("Xauthority");
        QFile::copy(qEnvironmentVariable("XAUTHORITY"), authority);
        for (const char* name : {"", "linkrake", "Xauthority", "Linkrake.ini"})
            EXPECT_EQ(::chown(QFile::encodeName(Path(name)).constData(), Nobody, Nobody), 0);
        FEnvironment.insert(QStringLiteral("XAUTHORITY"), authority);
        FEnvironment.insert(QStringLiteral("HOME"), FFolder.path());
        FEnvironment.remove(QStringLiteral("XDG_RUNTIME_DIR"));
        return {QStringLiteral("setpriv"), QStringLiteral("--reuid=65534"), QStringLiteral("--regid=65534"),
                QStringLiteral("--clear-groups"), QStringLiteral("--")};
    }
    void SetEnvironment(const QString& name, const QString& value) { FEnvironment.insert(name, value); }

    bool Start(QStringList command = {})
    {
        FEnvironment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        FProcess.setProcessEnvironment(FEnvironment);
        FProcess.setProcessChannelMode(QProcess::ForwardedOutputChannel);
        command << Path("linkrake");
        FProcess.start(command.takeFirst(), command);
        return FProcess.waitForStarted(5000)
               && WaitFor([] { return !FindWindows(Title, true).isEmpty(); }, 10000);
    }
    void Signal(int signalNumber) { ::kill(static_cast<pid_t>(FProcess.processId()), signalNumber); }
    bool Ended(int timeoutMs = 20000)
    {
        return FProcess.state() == QProcess::NotRunning || FProcess.waitForFinished(timeoutMs);
    }
    bool Running() { return !FProcess.waitForFinished(1000); }
    int ExitCode() const { return FProcess.exitStatus() == QProcess::NormalExit ? FProcess.exitCode() : -1; }
    // What the program said about its files; the toolkit may add notes of
    // its own, which do not count.
    QString Errors()
    {
        QStringList lines;
        for (const QByteArray& line : FProcess.readAllStandardError().split('\n'))
            if (line.contains("Linkrake") || line.contains(".txt"))
                lines << QString::fromUtf8(line);
        return lines.join(u'\n');
    }

private:
    QTemporaryDir FFolder;
    QProcess FProcess;
    QProcessEnvironment FEnvironment = QProcessEnvironment::systemEnvironment();
};

int VisibleWindows()
{
    return static_cast<int>(FindWindows(Title, true).size());
}

// A message box of the program: a window that belongs to another one.
QString OpenBox()
{
    for (const QString& window : FindWindows(Title, true)) {
        const QByteArray owner = RunCommand(QStringLiteral("xprop"), {QStringLiteral("-id"), window,
                                                                      QStringLiteral("WM_TRANSIENT_FOR")})
                                     .Output;
        if (owner.contains("window id #"))
            return window;
    }
    return {};
}

// Waits for a message box, answers it with keys and waits until it is gone
// (another may follow at once).
bool AnswerBox(const QStringList& keys)
{
    QString box;
    if (!WaitFor([&] { return !(box = OpenBox()).isEmpty(); }, 10000))
        return false;
    Pause(300);
    RunCommand(QStringLiteral("xdotool"), {QStringLiteral("windowactivate"), QStringLiteral("--sync"), box});
    for (const QString& key : keys)
        RunCommand(QStringLiteral("xdotool"),
                   {QStringLiteral("key"), QStringLiteral("--clearmodifiers"), key});
    return WaitFor([&] { return !FindWindows(Title, true).contains(box); }, 10000);
}

void CloseWindow()
{
    RunCommand(QStringLiteral("wmctrl"), {QStringLiteral("-c"), Title});
}

TEST(Shutdown, EachEndingSignalSavesEverythingOnceWithoutADialog)
{
    for (const int signalNumber : {SIGTERM, SIGHUP, SIGINT}) {
        SCOPED_TRACE(signalNumber);
        TEndingProgram program;
        ASSERT_TRUE(program.Start());
        Pause(300);
        program.Signal(signalNumber);
        ASSERT_TRUE(program.Ended());
        EXPECT_EQ(program.ExitCode(), 0);
        EXPECT_EQ(program.File("List.txt"), ListAsSaved);
        EXPECT_TRUE(program.File("Linkrake.ini").contains("\r\nPREFIX=URL-\r\n"));
        EXPECT_EQ(program.File("Memo2.txt"), QByteArray());
        EXPECT_EQ(program.Errors(), QString());
    }
}

TEST(Shutdown, ASignalWhileABoxIsOpenStillSavesAndTellsStandardErrorWhatWasLeft)
{
    TEndingProgram program;
    program.MakeFolder("Memo2.txt");  // cannot be read: the start-up box opens
    ASSERT_TRUE(program.Start());
    ASSERT_TRUE(WaitFor([] { return !OpenBox().isEmpty(); }, 10000));
    program.Signal(SIGTERM);
    ASSERT_TRUE(program.Ended());
    EXPECT_EQ(program.ExitCode(), 1);
    EXPECT_EQ(program.Errors(), program.Path("Memo2.txt") + QStringLiteral("：起動時に読み込めませんでした"));
    EXPECT_EQ(program.File("List.txt"), ListAsSaved);
}

TEST(Shutdown, TheCloseAsksAboutUnsavedFilesAndNoKeepsTheProgramRunning)
{
    TEndingProgram program;
    program.MakeFolder("Linkrake.ini");
    ASSERT_TRUE(program.Start());
    ASSERT_TRUE(AnswerBox({QStringLiteral("Return")}));  // the start-up box

    CloseWindow();
    ASSERT_TRUE(AnswerBox({QStringLiteral("Return")}));  // the list of unsaved files
    ASSERT_TRUE(AnswerBox({QStringLiteral("Return")}));  // the question; "いいえ" is the default
    EXPECT_TRUE(program.Running());
    EXPECT_EQ(VisibleWindows(), 1);
    EXPECT_EQ(program.File("List.txt"), ListAsSaved);  // saved all the same

    CloseWindow();
    ASSERT_TRUE(AnswerBox({QStringLiteral("Return")}));
    ASSERT_TRUE(AnswerBox({QStringLiteral("Tab"), QStringLiteral("space")}));  // "はい"
    ASSERT_TRUE(program.Ended());
    EXPECT_EQ(program.ExitCode(), 0);
    EXPECT_TRUE(QFileInfo(program.Path("Linkrake.ini")).isDir());
}

TEST(Shutdown, AFileTheUserMayNotReadIsNeverReplaced)
{
    TEndingProgram program;
    QStringList asUser;
    if (::geteuid() == 0)
        asUser = program.AsOrdinaryUser();
    // Root's file, or the user's own with no permissions: unreadable either way.
    const mode_t unreadable = ::geteuid() == 0 ? 0600 : 0;
    ASSERT_EQ(::chmod(QFile::encodeName(program.Path("List.txt")).constData(), unreadable), 0);
    ASSERT_TRUE(program.Start(asUser));
    ASSERT_TRUE(AnswerBox({QStringLiteral("Return")}));
    CloseWindow();
    ASSERT_TRUE(AnswerBox({QStringLiteral("Return")}));
    ASSERT_TRUE(AnswerBox({QStringLiteral("Tab"), QStringLiteral("space")}));
    ASSERT_TRUE(program.Ended());
    if (::geteuid() != 0)
        ::chmod(QFile::encodeName(program.Path("List.txt")).constData(), 0600);
    EXPECT_EQ(program.File("List.txt"), ListAsGiven);
    EXPECT_TRUE(program.File("Linkrake.ini").contains("\r\nNUMBER=4\r\n"));
}

TEST(Shutdown, TheSessionsLogoutSavesOnceAndTheQuitAfterItAsksNothing)
{
#ifndef LINKRAKE_SESSION_MANAGER
    GTEST_SKIP() << "built without libsm-dev";
#else
    QProcess manager;
    manager.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    manager.start(QStringLiteral(LINKRAKE_SESSION_MANAGER), {});
    ASSERT_TRUE(manager.waitForReadyRead(5000));
    const QString address = QString::fromUtf8(manager.readLine().trimmed());
    ASSERT_FALSE(address.isEmpty());

    TEndingProgram program;
    program.SetEnvironment(QStringLiteral("SESSION_MANAGER"), address);
    ASSERT_TRUE(program.Start());
    ASSERT_TRUE(WaitFor([&] { return manager.canReadLine() || manager.waitForReadyRead(100); }, 10000));
    EXPECT_EQ(manager.readLine().trimmed(), "registered");

    manager.write("logout\n");
    manager.waitForBytesWritten(5000);
    ASSERT_TRUE(program.Ended());
    EXPECT_EQ(program.ExitCode(), 0);
    EXPECT_EQ(program.File("List.txt"), ListAsSaved);
    EXPECT_TRUE(manager.waitForFinished(10000));
    EXPECT_EQ(manager.readAll(), "saved\nclosed\n");
    EXPECT_EQ(program.Errors(), QString());
#endif
}

}  // namespace
