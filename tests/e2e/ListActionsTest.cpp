// The list's keys and its context menu on a real X server: keys pressed and
// the menu opened with the mouse through xdotool, the list read back through
// the clipboard, and the browser hand-off caught by a stand-in xdg-open.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "DesktopSession.h"

namespace {

// Window-relative points: the entry line and the list's rows (12 pixels
// each) under the page tabs.
constexpr int EntryX = 100, EntryY = 37;
constexpr int RowX = 80, FirstRowY = 59, RowHeight = 12;

// A stand-in for the desktop's browser launcher on the program's PATH.
class TBrowserStandIn {
public:
    TBrowserStandIn() : FOldPath(qgetenv("PATH"))
    {
        const QString script = FDir.filePath(QStringLiteral("xdg-open"));
        QFile file(script);
        file.open(QIODevice::WriteOnly);
        file.write("#!/bin/sh\necho \"$1\" >> '" + Log().toUtf8() + "'\n");
        file.close();
        file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv("PATH", QFile::encodeName(FDir.path()) + ":" + FOldPath);
    }
    ~TBrowserStandIn() { qputenv("PATH", FOldPath); }
    QString Log() const { return FDir.filePath(QStringLiteral("opened.txt")); }
    QByteArray Opened() const
    {
        QFile file(Log());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

private:
    QTemporaryDir FDir;
    QByteArray FOldPath;
};

class ListActions : public ::testing::Test {
protected:
    TBrowserStandIn Browser;
    // Monitoring on: a copy from the list that bypassed the program's own
    // bracket would be taken for another program's and empty the list.
    TProgramUnderTest Program{"[SYSTEM]\r\nCB=1\r\n",
                              "http://one.example/\r\nwww.two.example/\r\n../three\r\n"};

    void ClickRow(int row, int button = 1) { Program.ClickAt(RowX, FirstRowY + row * RowHeight, button); }
    // Every item through the clipboard, as Ctrl+A and Ctrl+C in the list copy them.
    QByteArray ListThroughClipboard()
    {
        // (Another program's copy would itself empty the list: monitoring is on.)
        ClickRow(0);
        Program.Key(QStringLiteral("ctrl+a"));
        Program.Key(QStringLiteral("ctrl+c"));
        Pause(500);  // a monitor that took the copy for another's would act now
        return XClipboard::Text();
    }
};

TEST_F(ListActions, KeysAndTheContextMenuWorkOnARealDesktop)
{
    ASSERT_TRUE(Program.Start());
    const QByteArray three = "http://one.example/\r\nwww.two.example/\r\n../three";

    Program.ClickAt(EntryX, EntryY);
    Program.Key(QStringLiteral("ctrl+a"));
    RunCommand(QStringLiteral("xdotool"), {QStringLiteral("type"), QStringLiteral("http://typed.example/")});
    Program.Key(QStringLiteral("Return"));
    EXPECT_EQ(ListThroughClipboard(), three + "\r\nhttp://typed.example/");

    ClickRow(1);
    Program.Key(QStringLiteral("Delete"));
    const QByteArray afterDelete = "http://one.example/\r\n../three\r\nhttp://typed.example/";
    EXPECT_EQ(ListThroughClipboard(), afterDelete);
    Program.Key(QStringLiteral("ctrl+z"));
    EXPECT_EQ(ListThroughClipboard(), three + "\r\nhttp://typed.example/");
    Program.Key(QStringLiteral("ctrl+y"));
    EXPECT_EQ(ListThroughClipboard(), afterDelete);
    Program.Key(QStringLiteral("ctrl+z"));
    Program.Key(QStringLiteral("ctrl+shift+z"));
    EXPECT_EQ(ListThroughClipboard(), afterDelete);

    // The menu opened with the right button on an item; its second entry
    // opens that item in the browser.
    ClickRow(0);
    ClickRow(0, 3);
    Pause(300);
    Program.Key(QStringLiteral("Down"));
    Program.Key(QStringLiteral("Down"));
    Program.Key(QStringLiteral("Return"));
    EXPECT_TRUE(WaitFor([&] { return Browser.Opened() == "http://one.example/\n"; }))
        << Browser.Opened().toStdString();

    // The entry above the last (リンク確認) deletes the item; its first undoes that.
    ClickRow(1);
    ClickRow(1, 3);
    Pause(300);
    Program.Key(QStringLiteral("Up"));
    Program.Key(QStringLiteral("Up"));
    Program.Key(QStringLiteral("Return"));
    EXPECT_EQ(ListThroughClipboard(), "http://one.example/\r\nhttp://typed.example/");
    ClickRow(0, 3);
    Pause(300);
    Program.Key(QStringLiteral("Down"));
    Program.Key(QStringLiteral("Return"));
    EXPECT_EQ(ListThroughClipboard(), afterDelete);

    ASSERT_TRUE(Program.Close());
    EXPECT_EQ(Program.File("List.txt"), afterDelete + "\r\n");
}

}  // namespace
