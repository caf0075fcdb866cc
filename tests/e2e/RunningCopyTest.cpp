// One running copy per workspace folder, on a real X server: later starts
// of the same copy meet the running one, a closing one or a dead one.
#include <gtest/gtest.h>

#include <csignal>

#include <QDir>
#include <QElapsedTimer>

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
