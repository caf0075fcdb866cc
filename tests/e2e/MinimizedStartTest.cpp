// A start straight into the notification area, as an autostart entry makes
// it at login, on a real X server whose tray host comes up late or never.
#include <gtest/gtest.h>

#include "DesktopSession.h"
#include "StatusNotifierArea.h"

namespace {

const QString Title = QStringLiteral("Linkrake Professional");

std::unique_ptr<TBackgroundProgram> StartTrayHost()
{
    return std::make_unique<TBackgroundProgram>(
        QStringLiteral("trayer"), QStringList{QStringLiteral("--edge"), QStringLiteral("bottom")});
}

}  // namespace

TEST(MinimizedStart, WaitsForATrayThatAppearsLateAndSettlesThere)
{
    TProgramUnderTest program("[SYSTEM]\r\n", "http://kept/\r\n");
    ASSERT_TRUE(program.Launch({QStringLiteral("--minimized")}));
    Pause(2000);
    EXPECT_FALSE(program.Exited(0));
    EXPECT_TRUE(FindWindows(Title, true).isEmpty()) << "no window, and no box, while the tray is awaited";

    const auto trayHost = StartTrayHost();
    EXPECT_TRUE(WaitFor([] { return !TrayIconWindow().isEmpty(); }, 8000));
    EXPECT_TRUE(FindWindows(Title, true).isEmpty());

    // A later start brings it out of the tray.
    auto again = program.StartAgain();
    EXPECT_EQ(ExitStatus(*again), 0);
    EXPECT_TRUE(WaitFor([&] { return !program.VisibleWindow().isEmpty() && TrayIconWindow().isEmpty(); }));
    ASSERT_TRUE(program.Close());
    EXPECT_EQ(program.File(QStringLiteral("List.txt")), QByteArray("http://kept/\r\n"));
}

TEST(MinimizedStart, WaitsForALateAreaOfTheDBusKindToo)
{
    TPrivateSessionBus bus;
    ASSERT_FALSE(bus.Address().isEmpty()) << "dbus-daemon did not start";
    TProgramUnderTest program("[SYSTEM]\r\n");
    ASSERT_TRUE(program.Launch({QStringLiteral("--minimized")}));
    Pause(2000);

    TStatusNotifierArea area(bus.Address());
    ASSERT_TRUE(area.Serving());
    EXPECT_TRUE(WaitFor([&] { return !area.RegisteredStatusNotifierItems().isEmpty(); }, 8000));
    EXPECT_TRUE(FindWindows(Title, true).isEmpty());

    // Its menu works: "終了" ends the program. The item may name its menu,
    // and export it, a moment after it is registered.
    QString item;
    int exit = -1;
    WaitFor([&] {
        item = area.LiveItem();
        for (const TExportedMenuEntry& entry : area.Menu(item))
            if (entry.Label == QStringLiteral("終了"))
                exit = entry.Id;
        return exit >= 0;
    });
    ASSERT_GE(exit, 0);
    EXPECT_TRUE(area.Click(item, exit));
    EXPECT_TRUE(program.Exited());
}

TEST(MinimizedStart, WithoutAnyTrayEndsMinimizedInTheTaskBarWithoutABox)
{
    TProgramUnderTest program("[SYSTEM]\r\n");
    ASSERT_TRUE(program.Launch({QStringLiteral("--minimized")}));
    Pause(25000);
    EXPECT_TRUE(FindWindows(Title, true).isEmpty()) << "gave up on the tray too early";
    EXPECT_TRUE(WaitFor([&] { return WindowState(program.AnyWindow()) == QStringLiteral("Iconic"); }, 10000));
    Pause(500);
    EXPECT_TRUE(FindWindows(Title, true).isEmpty()) << "a box or a shown window";
    ASSERT_TRUE(program.Close());
}
