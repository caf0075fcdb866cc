// The desktop backend's notification area on a real X server with a tray:
// real clicks on the icon reach the component as its mouse messages.

#include "TrayIcon.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPixmap>
#include <QProcess>
#include <QStandardPaths>
#include <QSystemTrayIcon>
#include <QThread>
#include <gtest/gtest.h>

namespace {

template <typename Done>
bool PumpUntil(Done done, int timeoutMs)
{
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < timeoutMs) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(5);
    }
    return done();
}

void Pump(int ms)
{
    PumpUntil([] { return false; }, ms);
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

void ClickAt(QPoint at, const QStringList& click)
{
    QStringList arguments{"mousemove", QString::number(at.x()), QString::number(at.y()), "click"};
    arguments += click;
    QProcess::execute("xdotool", arguments);
}

} // namespace

TEST(X11Tray, RealClicksBecomeClickDoubleClickAndMenu)
{
    if (QStandardPaths::findExecutable("xdotool").isEmpty())
        GTEST_SKIP() << "xdotool is not installed";
    if (!PumpUntil([] { return QSystemTrayIcon::isSystemTrayAvailable(); }, 5000))
        GTEST_SKIP() << "no notification area on this display";

    QWidget form;
    auto* menu = new TPopupMenu(&form);
    menu->Menu()->addAction("復帰");
    auto* icon = new TTrayIcon(&form);
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::red);
    icon->SetIcon(QIcon(pixmap));
    icon->SetTipHelp("Linkrake");
    icon->SetRBPopupMenu(menu);
    int clicks = 0, doubleClicks = 0, menus = 0;
    icon->OnClick = [&](QObject*) { ++clicks; };
    icon->OnDblClick = [&](QObject*) { ++doubleClicks; };
    QObject::connect(menu->Menu(), &QMenu::aboutToShow, [&] { ++menus; });

    icon->SetVisible(true);
    ASSERT_TRUE(icon->Registered());
    ASSERT_TRUE(PumpUntil([] { return EmbeddedIconCentre().x() > 0; }, 5000)) << "icon never embedded";
    Pump(300);
    const QPoint at = EmbeddedIconCentre();

    ClickAt(at, {"1"});
    PumpUntil([&] { return clicks > 0; }, 3000);
    Pump(200);
    EXPECT_EQ(clicks, 1);

    ClickAt(at, {"--repeat", "2", "--delay", "80", "1"});
    PumpUntil([&] { return doubleClicks > 0; }, 3000);
    Pump(800);   // longer than the double-click wait: no click may follow
    EXPECT_EQ(doubleClicks, 1);
    EXPECT_EQ(clicks, 1);

    ClickAt(at, {"3"});
    PumpUntil([&] { return menus > 0; }, 3000);
    EXPECT_EQ(menus, 1);
    menu->Menu()->close();

    icon->SetVisible(false);
    EXPECT_FALSE(icon->Registered());
}
