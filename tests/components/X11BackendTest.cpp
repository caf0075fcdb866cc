// The components on a real X server with a small embedding tray: copies
// made by another process and by this one, and real clicks on the tray icon.

#include "components/ClipboardWatcher.h"
#include "components/TrayIcon.h"

#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QPixmap>
#include <QProcess>
#include <QStandardPaths>
#include <QSystemTrayIcon>
#include <QThread>
#include <gtest/gtest.h>

namespace {

// Runs the event loop until `done` or the timeout, then `settleMs` more so
// that a duplicate notification would be seen.
template <typename Done> bool PumpUntil(Done done, int timeoutMs = 5000, int settleMs = 0)
{
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < timeoutMs) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(5);
    }
    const bool reached = done();
    for (timer.restart(); timer.elapsed() < settleMs; QThread::msleep(5))
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return reached;
}

void Pump(int ms)
{
    PumpUntil([] { return false; }, 0, ms);
}

void CopyFromAnotherProcess(const QByteArray& text)
{
    QProcess xclip;
    xclip.start("xclip", {"-selection", "clipboard", "-i"});
    ASSERT_TRUE(xclip.waitForStarted(5000));
    xclip.write(text);
    xclip.closeWriteChannel();
    ASSERT_TRUE(xclip.waitForFinished(5000));  // xclip leaves a holder behind and returns
}

// Where the tray placed the icon: the centre of Qt's embedded icon window.
QPoint EmbeddedIconCentre()
{
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (QByteArray(widget->metaObject()->className()) == "QSystemTrayIconSys")
            return widget->mapToGlobal(widget->rect().center());
    }
    return {-1, -1};
}

void ClickAt(QPoint at, QStringList click)
{
    QProcess::execute("xdotool",
                      QStringList{"mousemove", QString::number(at.x()), QString::number(at.y()), "click"}
                          + click);
}

}  // namespace

TEST(X11Backend, EachCopyRaisesExactlyOneChange)
{
    TClipboardWatcher watcher;
    int changes = 0;
    QObject::connect(&watcher, &TClipboardWatcher::Changed, [&] { ++changes; });
    watcher.Start();
    ASSERT_TRUE(watcher.Watching());
    Pump(300);
    EXPECT_EQ(changes, 0) << "the contents present at start raise nothing";

    int expected = 0;
    for (const char* text : {"first http://example.com/a", "second http://example.com/b", "own", "third"}) {
        ++expected;
        if (QByteArray(text) == "own") {
            // The program's own write is heard before setText returns, while the
            // writer can still tell it apart from others' changes.
            QGuiApplication::clipboard()->setText("own http://example.com/c");
            EXPECT_EQ(changes, expected);
        } else {
            CopyFromAnotherProcess(text);
        }
        PumpUntil([&] { return changes >= expected; }, 5000, 400);
        EXPECT_EQ(changes, expected) << "after " << text;
    }
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "third");

    watcher.Stop();
    CopyFromAnotherProcess("unheard");
    Pump(400);
    EXPECT_EQ(changes, expected);
}

TEST(X11Backend, RealClicksBecomeClickDoubleClickMiddleClickAndMenu)
{
    if (QStandardPaths::findExecutable("xdotool").isEmpty())
        GTEST_SKIP() << "xdotool is not installed";
    if (!PumpUntil([] { return TTrayIcon::AreaAvailable(); }))
        GTEST_SKIP() << "no notification area on this display";
    ASSERT_EQ(TTrayIcon::CurrentArea(), TNotificationArea::Embedded);

    QWidget form;
    auto* menu = new QMenu(&form);
    menu->addAction("復帰");
    auto* icon = new TTrayIcon(&form);
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::red);
    icon->SetIcon(QIcon(pixmap));
    icon->SetRightMenu(menu);
    int clicks = 0, doubleClicks = 0, middleClicks = 0, menus = 0;
    QObject::connect(icon, &TTrayIcon::Clicked, [&] { ++clicks; });
    QObject::connect(icon, &TTrayIcon::DoubleClicked, [&] { ++doubleClicks; });
    QObject::connect(icon, &TTrayIcon::MiddleClicked, [&] { ++middleClicks; });
    QObject::connect(menu, &QMenu::aboutToShow, [&] { ++menus; });

    icon->SetVisible(true);
    ASSERT_TRUE(icon->Visible());
    ASSERT_TRUE(PumpUntil([] { return EmbeddedIconCentre().x() > 0; }, 5000, 300)) << "icon never embedded";
    const QPoint at = EmbeddedIconCentre();

    ClickAt(at, {"1"});
    PumpUntil([&] { return clicks > 0; }, 3000, 200);
    EXPECT_EQ(clicks, 1);

    ClickAt(at, {"--repeat", "2", "--delay", "80", "1"});
    PumpUntil([&] { return doubleClicks > 0; }, 3000, 800);  // longer than the click wait
    EXPECT_EQ(doubleClicks, 1);
    EXPECT_EQ(clicks, 1);

    ClickAt(at, {"3"});
    PumpUntil([&] { return menus > 0; }, 3000);
    EXPECT_EQ(menus, 1);
    menu->close();
    Pump(200);

    // Only the component opens the menu here, so a disabled icon opens none;
    // a menu exported on this kind of tray would open on its own.
    icon->SetEnabled(false);
    ClickAt(at, {"3"});
    Pump(500);
    EXPECT_EQ(menus, 1);
    menu->close();
    icon->SetEnabled(true);

    ClickAt(at, {"2"});
    PumpUntil([&] { return middleClicks > 0; }, 3000, 200);
    EXPECT_EQ(middleClicks, 1);

    icon->SetVisible(false);
    EXPECT_FALSE(icon->Visible());
    EXPECT_TRUE(PumpUntil([] { return EmbeddedIconCentre().x() < 0; }, 3000)) << "icon still embedded";
}

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
