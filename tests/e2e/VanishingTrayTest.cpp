// A notification area that goes away while the program sits in it (the
// panel crashed or restarts): the window comes back to the task bar,
// minimized and without a box, and an area that comes back takes the icon
// while the task-bar entry stays.
#include <gtest/gtest.h>

#include <memory>

#include "DesktopSession.h"
#include "StatusNotifierArea.h"

namespace {

const QString Title = QStringLiteral("Linkrake Professional");

std::unique_ptr<TBackgroundProgram> StartTrayer()
{
    auto trayer = std::make_unique<TBackgroundProgram>(
        QStringLiteral("trayer"), QStringList{QStringLiteral("--edge"), QStringLiteral("bottom"),
                                              QStringLiteral("--widthtype"), QStringLiteral("request")});
    Pause(1000);
    return trayer;
}

void Minimize(TProgramUnderTest& program)
{
    RunCommand(QStringLiteral("xdotool"), {QStringLiteral("windowminimize"), program.AnyWindow()});
}

// Minimized in the task bar, and nothing else of the program on screen.
bool InTaskbarWithoutABox(TProgramUnderTest& program)
{
    return WaitFor([&] { return WindowState(program.AnyWindow()) == QStringLiteral("Iconic"); })
           && FindWindows(Title, true).isEmpty();
}

}  // namespace

TEST(VanishingTray, AnEmbeddingTrayThatIsKilledGivesTheTaskBarEntryBack)
{
    auto trayer = StartTrayer();
    ASSERT_TRUE(trayer->Running());
    TProgramUnderTest program("[SYSTEM]\r\n");
    ASSERT_TRUE(program.Start());
    Minimize(program);
    ASSERT_TRUE(WaitFor([&] { return program.VisibleWindow().isEmpty() && !TrayIconWindow().isEmpty(); }));

    trayer.reset();
    EXPECT_TRUE(InTaskbarWithoutABox(program));

    trayer = StartTrayer();
    EXPECT_TRUE(WaitFor([] { return !TrayIconWindow().isEmpty(); })) << "the icon was not docked again";
    Pause(500);
    EXPECT_EQ(WindowState(program.AnyWindow()), QStringLiteral("Iconic"));
    ClickInWindow(TrayIconWindow(), 6, 6, 1, 2, 80);
    EXPECT_TRUE(WaitFor([&] { return !program.VisibleWindow().isEmpty() && TrayIconWindow().isEmpty(); }));
    ASSERT_TRUE(program.Close());
}

TEST(VanishingTray, ADBusAreaWhoseHostGoesAwayGivesTheTaskBarEntryBack)
{
    TPrivateSessionBus bus;
    ASSERT_FALSE(bus.Address().isEmpty()) << "dbus-daemon did not start";
    auto area = std::make_unique<TStatusNotifierArea>(bus.Address());
    ASSERT_TRUE(area->Serving());
    TProgramUnderTest program("[SYSTEM]\r\n");
    ASSERT_TRUE(program.Start());
    Minimize(program);
    ASSERT_TRUE(WaitFor([&] { return program.VisibleWindow().isEmpty() && !area->LiveItem().isEmpty(); }));

    area.reset();
    EXPECT_TRUE(InTaskbarWithoutABox(program));

    area = std::make_unique<TStatusNotifierArea>(bus.Address());
    EXPECT_TRUE(WaitFor([&] { return !area->LiveItem().isEmpty(); }, 10000))
        << "the icon was not shown again";
    EXPECT_EQ(WindowState(program.AnyWindow()), QStringLiteral("Iconic"));
    ASSERT_TRUE(program.Close());
}
