#include "TrayTestSupport.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

namespace {

// Lets single-click waits end and their results reach the UI thread.
void PumpEventsFor(int ms)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < ms) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QThread::msleep(2);
    }
}

class TrayMouse : public TrayTest {
protected:
    TrayMouse()
    {
        platform->DoubleClickMs = 20;
        platform->Cursor = QPoint(640, 470);
    }
};

}  // namespace

TEST_F(TrayMouse, PressesOpenMenusAtThePointerOrBecomeMouseDowns)
{
    TTrayIcon* icon = ShownIcon();
    auto* menu = new TPopupMenu(form.get());
    icon->SetRBPopupMenu(menu);
    LogEvents(icon);

    Mouse(icon, WM_RBUTTONDOWN);
    Mouse(icon, WM_RBUTTONUP);
    ASSERT_EQ(platform->Popups.size(), 1u);
    EXPECT_EQ(platform->Popups[0], std::make_pair(menu->Menu(), QPoint(640, 470)));
    EXPECT_EQ(platform->ForegroundCalls, std::vector<QWidget*>{form.get()});
    EXPECT_EQ(platform->ProcessMessagesCalls, 1);
    EXPECT_EQ(log, Log{"up R 640,470"});

    icon->SetAutoPopup(false);
    icon->SetLBPopupMenu(menu);
    Mouse(icon, WM_RBUTTONDOWN);
    Mouse(icon, WM_LBUTTONDOWN);
    EXPECT_EQ(platform->Popups.size(), 1u);
    EXPECT_EQ(log, (Log{"up R 640,470", "down R 640,470", "down L 640,470"}));

    QObject owner;  // not a form: the menu opens without the foreground step
    TTrayIcon* plain = ShownIcon(&owner);
    plain->SetLBPopupMenu(menu);
    Mouse(plain, WM_LBUTTONDOWN);
    EXPECT_EQ(platform->Popups.size(), 2u);
    EXPECT_EQ(platform->ForegroundCalls.size(), 1u);
}

TEST_F(TrayMouse, MiddleButtonAndMovesAreEventsAndOtherDoubleClicksAreNothing)
{
    TTrayIcon* icon = ShownIcon();
    LogEvents(icon);
    for (UINT message : {WM_MOUSEMOVE, WM_MBUTTONDOWN, WM_MBUTTONUP, WM_RBUTTONDBLCLK, 0x0209u})
        Mouse(icon, message);
    PumpEventsFor(60);
    EXPECT_EQ(log, (Log{"move 0 640,470", "down M 640,470", "up M 640,470"}));

    // Unknown identifiers are ignored.
    platform->SendMessage(CallbackWindow->Handle(), WM_TRAYNOTIFY, 999, WM_MBUTTONDOWN);
    EXPECT_EQ(log.size(), 3u);
}

TEST_F(TrayMouse, MouseUpHandlerTakesTheLeftReleaseSoClickNeverComes)
{
    TTrayIcon* icon = ShownIcon();
    LogEvents(icon);
    Mouse(icon, WM_LBUTTONDOWN);
    Mouse(icon, WM_LBUTTONUP);
    PumpEventsFor(100);
    EXPECT_EQ(log, (Log{"down L 640,470", "up L 640,470"}));
}

TEST_F(TrayMouse, ASingleClickIsReportedOnceAfterTheWaitAndADoubleClickWithoutIt)
{
    TTrayIcon* icon = ShownIcon();
    LogEvents(icon, false);
    Mouse(icon, WM_LBUTTONUP);
    EXPECT_TRUE(icon->ClickPending());
    EXPECT_TRUE(log.empty());  // not before the double-click time has passed
    PumpEventsFor(250);
    EXPECT_EQ(log, Log{"click"});
    EXPECT_FALSE(icon->ClickPending());

    log.clear();
    for (UINT message : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP})
        Mouse(icon, message);
    PumpEventsFor(250);
    EXPECT_EQ(log, (Log{"down L 640,470", "dblclick"}));

    icon->OnClick = nullptr;  // without a click handler a release leaves nothing pending
    Mouse(icon, WM_LBUTTONDBLCLK);
    Mouse(icon, WM_LBUTTONUP);
    EXPECT_FALSE(icon->ClickPending());
}

TEST_F(TrayMouse, DisablingDuringTheWaitCancelsTheClickAndSilencesTheIcon)
{
    TTrayIcon* icon = ShownIcon();
    icon->SetRBPopupMenu(new TPopupMenu(form.get()));
    LogEvents(icon, false);
    Mouse(icon, WM_LBUTTONUP);
    icon->SetEnabled(false);
    EXPECT_FALSE(icon->ClickPending());
    PumpEventsFor(250);

    LogEvents(icon);
    for (UINT message : {WM_RBUTTONDOWN, WM_RBUTTONUP, WM_LBUTTONDBLCLK, WM_MOUSEMOVE})
        Mouse(icon, message);
    EXPECT_TRUE(platform->Popups.empty());
    EXPECT_TRUE(log.empty());
}

TEST_F(TrayMouse, HandlersMayHideOrDestroyTheIconTheyWereCalledFor)
{
    TTrayIcon* icon = ShownIcon();
    icon->OnDblClick = [icon](QObject*) { icon->SetVisible(false); };
    Mouse(icon, WM_LBUTTONDBLCLK);
    EXPECT_TRUE(platform->ShownIcons().empty());

    TTrayIcon* doomed = ShownIcon();
    LogEvents(doomed, false);
    Mouse(doomed, WM_LBUTTONUP);
    delete doomed;  // the wait ends after its icon has gone
    PumpEventsFor(250);
    EXPECT_TRUE(log.empty());
}
