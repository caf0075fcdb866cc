// The tray on a notification area of the D-Bus kind, which shows only the
// menu an icon exports: a watcher and host of the test's own on a private
// session bus, started before the program first minimizes.
#include <gtest/gtest.h>

#include "DesktopSession.h"
#include "StatusNotifierArea.h"

#include <ostream>

// Readable failures: a QString would otherwise print as a list of characters.
static void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

namespace {

class StatusNotifierTray : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_FALSE(FBus.Address().isEmpty()) << "dbus-daemon did not start";
        FArea = std::make_unique<TStatusNotifierArea>(FBus.Address());
        ASSERT_TRUE(FArea->Serving());
    }

    // Minimizes and returns the item that registered for the program's icon.
    QString MinimizedIntoArea(TProgramUnderTest& program)
    {
        const QString before = FArea->RegisteredStatusNotifierItems().join(QLatin1Char(' '));
        RunCommand(QStringLiteral("xdotool"), {QStringLiteral("windowminimize"), program.AnyWindow()});
        QString item;
        WaitFor([&] {
            const QStringList items = FArea->RegisteredStatusNotifierItems();
            if (items.join(QLatin1Char(' ')) != before && program.VisibleWindow().isEmpty())
                item = FArea->LiveItem();
            return !item.isEmpty();
        });
        return item;
    }

    int EntryId(const QString& item, const QString& label)
    {
        for (const TExportedMenuEntry& entry : FArea->Menu(item)) {
            if (entry.Label == label)
                return entry.Id;
        }
        return -1;
    }

    bool ClickEntry(const QString& item, const QString& label)
    {
        const int id = EntryId(item, label);
        return id >= 0 && FArea->Click(item, id);
    }

    bool Restored(TProgramUnderTest& program, const QString& item)
    {
        // Back on screen, and the icon gone from the area.
        return WaitFor([&] { return !program.VisibleWindow().isEmpty() && FArea->MenuPath(item).isEmpty(); });
    }

    TPrivateSessionBus FBus;
    std::unique_ptr<TStatusNotifierArea> FArea;
};

QStringList Labels(const QList<TExportedMenuEntry>& entries)
{
    QStringList labels;
    for (const TExportedMenuEntry& entry : entries)
        labels << (entry.Type == QStringLiteral("separator") ? QStringLiteral("-") : entry.Label);
    return labels;
}

}  // namespace

TEST_F(StatusNotifierTray, TheIconExportsTheTrayMenuAndTwoActivationsRestore)
{
    TProgramUnderTest program("[SYSTEM]\r\n");
    ASSERT_TRUE(program.Start());

    const QString item = MinimizedIntoArea(program);
    ASSERT_FALSE(item.isEmpty());
    EXPECT_TRUE(TrayIconWindow().isEmpty());  // nothing embedded anywhere
    EXPECT_EQ(FArea->MenuPath(item), QStringLiteral("/MenuBar"));
    EXPECT_EQ(Labels(FArea->Menu(item)), (QStringList{QStringLiteral("復帰"), QStringLiteral("監視中断"),
                                                      QStringLiteral("-"), QStringLiteral("終了")}));

    // One activation is a single click, which the window ignores...
    ASSERT_TRUE(FArea->Activate(item));
    Pause(1000);
    EXPECT_TRUE(program.VisibleWindow().isEmpty());
    // ...two within the double-click time are the double click that restores.
    ASSERT_TRUE(FArea->Activate(item));
    ASSERT_TRUE(FArea->Activate(item));
    EXPECT_TRUE(Restored(program, item));

    // The menu entry restores as well, from an icon registered afresh.
    const QString again = MinimizedIntoArea(program);
    ASSERT_FALSE(again.isEmpty());
    ASSERT_TRUE(ClickEntry(again, QStringLiteral("復帰")));
    EXPECT_TRUE(Restored(program, again));
    ASSERT_TRUE(program.Close());
}

TEST_F(StatusNotifierTray, PausingFromTheExportedMenuSwitchesCaptionAndMonitoring)
{
    TProgramUnderTest program("[SYSTEM]\r\nCB=1\r\n");
    ASSERT_TRUE(program.Start());
    const QString item = MinimizedIntoArea(program);
    ASSERT_FALSE(item.isEmpty());
    EXPECT_TRUE(XClipboard::ReducedTo("http://while.minimized/"));

    ASSERT_TRUE(ClickEntry(item, QStringLiteral("監視中断")));
    EXPECT_TRUE(WaitFor([&] { return EntryId(item, QStringLiteral("監視再開")) >= 0; }));
    EXPECT_TRUE(XClipboard::LeftAlone("http://paused/"));

    ASSERT_TRUE(ClickEntry(item, QStringLiteral("監視再開")));
    EXPECT_TRUE(WaitFor([&] { return EntryId(item, QStringLiteral("監視中断")) >= 0; }));
    EXPECT_TRUE(XClipboard::ReducedTo("http://resumed/"));

    // Paused again, then restored: restoring resumes, and the next icon says so.
    ASSERT_TRUE(ClickEntry(item, QStringLiteral("監視中断")));
    EXPECT_TRUE(WaitFor([&] { return EntryId(item, QStringLiteral("監視再開")) >= 0; }));
    ASSERT_TRUE(ClickEntry(item, QStringLiteral("復帰")));
    ASSERT_TRUE(Restored(program, item));
    EXPECT_TRUE(XClipboard::ReducedTo("http://after.restore/"));
    const QString again = MinimizedIntoArea(program);
    ASSERT_FALSE(again.isEmpty());
    EXPECT_GE(EntryId(again, QStringLiteral("監視中断")), 0);
    ASSERT_TRUE(ClickEntry(again, QStringLiteral("復帰")));
    ASSERT_TRUE(Restored(program, again));
    ASSERT_TRUE(program.Close());
}

TEST_F(StatusNotifierTray, ExitFromTheExportedMenuClosesAndSaves)
{
    TProgramUnderTest program("[SYSTEM]\r\nMEMO=from the area\r\n", "http://kept/\r\n");
    ASSERT_TRUE(program.Start());
    const QString item = MinimizedIntoArea(program);
    ASSERT_FALSE(item.isEmpty());

    ClickEntry(item, QStringLiteral("終了"));  // the program may be gone before it answers
    ASSERT_TRUE(program.Exited());
    EXPECT_TRUE(program.File("Linkrake.ini").contains("MEMO=from the area\r\n"));
    EXPECT_EQ(program.File("List.txt"), QByteArray("http://kept/\r\n"));
}
