// Minimizing into the notification area and coming back, on a real X
// server with a window manager, with and without a tray host.
#include <gtest/gtest.h>

#include "DesktopSession.h"

namespace {

const QString Title = QStringLiteral("Linkrake Professional");

class TrayResidency : public ::testing::Test {
protected:
    void StartTrayHost()
    {
        FTrayHost = std::make_unique<TBackgroundProgram>(
            QStringLiteral("trayer"),
            QStringList{QStringLiteral("--edge"), QStringLiteral("bottom"), QStringLiteral("--align"),
                        QStringLiteral("right"), QStringLiteral("--widthtype"), QStringLiteral("request")});
        Pause(1000);
        ASSERT_TRUE(FTrayHost->Running());
    }

    static void Minimize(TProgramUnderTest& program)
    {
        RunCommand(QStringLiteral("xdotool"), {QStringLiteral("windowminimize"), program.AnyWindow()});
    }

    static bool MinimizedIntoTray(TProgramUnderTest& program)
    {
        Minimize(program);
        return WaitFor([&] { return program.VisibleWindow().isEmpty() && !TrayIconWindow().isEmpty(); });
    }

    static bool Restored(TProgramUnderTest& program)
    {
        return WaitFor([&] { return !program.VisibleWindow().isEmpty() && TrayIconWindow().isEmpty(); });
    }

    static void ClickTrayIcon(int button, int repeat = 1)
    {
        ClickInWindow(TrayIconWindow(), 6, 6, button, repeat, 80);
    }

    // Opens the tray menu and picks its n-th entry (1 = "復帰", 2 = pause).
    static void ChooseTrayMenuEntry(int n)
    {
        ClickTrayIcon(3);
        Pause(400);
        QStringList keys;
        for (int i = 0; i < n; ++i)
            keys << QStringLiteral("Down");
        keys << QStringLiteral("Return");
        RunCommand(QStringLiteral("xdotool"),
                   QStringList{QStringLiteral("key"), QStringLiteral("--delay"), QStringLiteral("60")}
                       + keys);
        Pause(300);
    }

    std::unique_ptr<TBackgroundProgram> FTrayHost;
};

}  // namespace

TEST_F(TrayResidency, MinimizingHidesIntoTheTrayAndBothWaysBackRestore)
{
    StartTrayHost();
    TProgramUnderTest program("[SYSTEM]\r\n");
    ASSERT_TRUE(program.Start());

    ASSERT_TRUE(MinimizedIntoTray(program));
    ClickTrayIcon(1, 2);
    EXPECT_TRUE(Restored(program));

    ASSERT_TRUE(MinimizedIntoTray(program));
    ChooseTrayMenuEntry(1);
    EXPECT_TRUE(Restored(program));
    ASSERT_TRUE(program.Close());
}

TEST_F(TrayResidency, ExitFromTheTrayMenuClosesAndSaves)
{
    StartTrayHost();
    TProgramUnderTest program("[SYSTEM]\r\nMEMO=from tray\r\n", "http://kept/\r\n");
    ASSERT_TRUE(program.Start());

    ASSERT_TRUE(MinimizedIntoTray(program));
    ChooseTrayMenuEntry(3);  // "終了", past the separator
    ASSERT_TRUE(program.Exited());
    EXPECT_TRUE(program.File("Linkrake.ini").contains("MEMO=from tray\r\n"));
    EXPECT_EQ(program.File("List.txt"), QByteArray("http://kept/\r\n"));
    EXPECT_TRUE(WaitFor([] { return TrayIconWindow().isEmpty(); }));
}

TEST_F(TrayResidency, PausingFromTheTrayMenuIgnoresCopiesUntilResumedOrRestored)
{
    StartTrayHost();
    TProgramUnderTest program("[SYSTEM]\r\nCB=1\r\n");
    ASSERT_TRUE(program.Start());

    ASSERT_TRUE(MinimizedIntoTray(program));
    EXPECT_TRUE(XClipboard::ReducedTo("http://while.minimized/"));

    ChooseTrayMenuEntry(2);  // pause
    EXPECT_TRUE(XClipboard::LeftAlone("http://paused/"));
    ChooseTrayMenuEntry(2);  // resume
    EXPECT_TRUE(XClipboard::ReducedTo("http://resumed/"));

    ChooseTrayMenuEntry(2);  // pause again, then restore
    EXPECT_TRUE(XClipboard::LeftAlone("http://paused.again/"));
    ClickTrayIcon(1, 2);
    ASSERT_TRUE(Restored(program));
    EXPECT_TRUE(XClipboard::ReducedTo("http://after.restore/"));
    ASSERT_TRUE(program.Close());
}

TEST_F(TrayResidency, WithoutATrayHostTheWindowStaysReachable)
{
    TProgramUnderTest program("[SYSTEM]\r\n");
    ASSERT_TRUE(program.Start());
    const QString window = program.AnyWindow();

    Minimize(program);
    // The refusal is reported in a box of its own...
    QString box;
    ASSERT_TRUE(WaitFor([&] {
        for (const QString& candidate : FindWindows(Title, true)) {
            if (candidate != window)
                box = candidate;
        }
        return !box.isEmpty();
    }));
    RunCommand(QStringLiteral("xdotool"), {QStringLiteral("windowactivate"), QStringLiteral("--sync"), box});
    RunCommand(QStringLiteral("xdotool"), {QStringLiteral("key"), QStringLiteral("Return")});
    EXPECT_TRUE(WaitFor([&] { return FindWindows(Title, true).size() <= 1; }));

    // ...and the window keeps its task-bar entry, minimized.
    EXPECT_TRUE(WaitFor([&] { return WindowState(window) == QStringLiteral("Iconic"); }));
    RunCommand(QStringLiteral("xdotool"), {QStringLiteral("windowactivate"), window});
    EXPECT_TRUE(WaitFor([&] { return !program.VisibleWindow().isEmpty(); }));
    ASSERT_TRUE(program.Close());
}
