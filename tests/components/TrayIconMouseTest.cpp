#include "TrayTestSupport.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

namespace {

struct MouseRecord {
    TMouseButton button;
    TShiftState shift;
    int x;
    int y;
};

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
    std::vector<MouseRecord> downs, ups;
    int clicks = 0, doubleClicks = 0;

    TrayMouse()
    {
        platform->DoubleClickMs = 20;
        platform->Cursor = QPoint(640, 470);
    }
    void RecordDowns(TTrayIcon* icon)
    {
        icon->OnMouseDown = [this](QObject*, TMouseButton b, TShiftState s, int x, int y) {
            downs.push_back({b, s, x, y});
        };
    }
    void RecordUps(TTrayIcon* icon)
    {
        icon->OnMouseUp = [this](QObject*, TMouseButton b, TShiftState s, int x, int y) {
            ups.push_back({b, s, x, y});
        };
    }
    void RecordClicks(TTrayIcon* icon)
    {
        icon->OnClick = [this](QObject*) { ++clicks; };
        icon->OnDblClick = [this](QObject*) { ++doubleClicks; };
    }
};

} // namespace

TEST_F(TrayMouse, RightPressOpensTheMenuAtThePointerAfterBringingTheFormForward)
{
    TTrayIcon* icon = ShownIcon();
    auto* menu = new TPopupMenu(form.get());
    icon->SetRBPopupMenu(menu);
    RecordDowns(icon);
    RecordUps(icon);

    Mouse(icon, WM_RBUTTONDOWN);
    ASSERT_EQ(platform->Popups.size(), 1u);
    EXPECT_EQ(platform->Popups[0].first, menu->Menu());
    EXPECT_EQ(platform->Popups[0].second, QPoint(640, 470));
    EXPECT_EQ(platform->ForegroundCalls, std::vector<QWidget*>{form.get()});
    EXPECT_EQ(platform->ProcessMessagesCalls, 1);
    EXPECT_TRUE(downs.empty());

    Mouse(icon, WM_RBUTTONUP);
    ASSERT_EQ(ups.size(), 1u);
    EXPECT_EQ(ups[0].button, TMouseButton::mbRight);
    EXPECT_EQ(ups[0].shift, TShiftState(ssRight));
}

TEST_F(TrayMouse, WithoutAutoPopupAPressIsAMouseDown)
{
    TTrayIcon* icon = ShownIcon();
    auto* menu = new TPopupMenu(form.get());
    icon->SetRBPopupMenu(menu);
    icon->SetLBPopupMenu(menu);
    icon->SetAutoPopup(false);
    RecordDowns(icon);

    Mouse(icon, WM_RBUTTONDOWN);
    Mouse(icon, WM_LBUTTONDOWN);
    EXPECT_TRUE(platform->Popups.empty());
    ASSERT_EQ(downs.size(), 2u);
    EXPECT_EQ(downs[0].button, TMouseButton::mbRight);
    EXPECT_EQ(downs[0].shift, TShiftState(ssRight));
    EXPECT_EQ(downs[1].button, TMouseButton::mbLeft);
    EXPECT_EQ(downs[1].x, 640);
    EXPECT_EQ(downs[1].y, 470);
}

TEST_F(TrayMouse, AMenuOfAnIconWithAPlainOwnerOpensWithoutTheForegroundStep)
{
    QObject owner;
    auto* icon = new TTrayIcon(&owner);
    icon->SetIcon(SolidIcon(Qt::red));
    icon->SetVisible(true);
    auto* menu = new TPopupMenu(&owner);
    icon->SetLBPopupMenu(menu);
    Mouse(icon, WM_LBUTTONDOWN);
    EXPECT_EQ(platform->Popups.size(), 1u);
    EXPECT_TRUE(platform->ForegroundCalls.empty());
    EXPECT_EQ(platform->ProcessMessagesCalls, 0);
}

TEST_F(TrayMouse, MiddleButtonAndMovesAreEventsAndOtherDoubleClicksAreNothing)
{
    TTrayIcon* icon = ShownIcon();
    RecordDowns(icon);
    RecordUps(icon);
    RecordClicks(icon);
    int moves = 0;
    icon->OnMouseMove = [&](QObject*, TShiftState shift, int x, int) {
        ++moves;
        EXPECT_EQ(shift, 0u);
        EXPECT_EQ(x, 640);
    };

    Mouse(icon, WM_MOUSEMOVE);
    Mouse(icon, WM_MBUTTONDOWN);
    Mouse(icon, WM_MBUTTONUP);
    Mouse(icon, WM_RBUTTONDBLCLK);
    Mouse(icon, 0x0209);   // middle double-click
    EXPECT_EQ(moves, 1);
    ASSERT_EQ(downs.size(), 1u);
    EXPECT_EQ(downs[0].button, TMouseButton::mbMiddle);
    EXPECT_EQ(downs[0].shift, TShiftState(ssMiddle));
    ASSERT_EQ(ups.size(), 1u);
    EXPECT_EQ(ups[0].button, TMouseButton::mbMiddle);
    PumpEventsFor(60);
    EXPECT_EQ(clicks + doubleClicks, 0);
}

TEST_F(TrayMouse, MouseUpHandlerTakesTheLeftReleaseSoClickNeverComes)
{
    TTrayIcon* icon = ShownIcon();
    RecordUps(icon);
    RecordClicks(icon);
    Mouse(icon, WM_LBUTTONDOWN);
    Mouse(icon, WM_LBUTTONUP);
    EXPECT_FALSE(icon->ClickPending());
    PumpEventsFor(100);
    EXPECT_EQ(clicks, 0);
    ASSERT_EQ(ups.size(), 1u);
    EXPECT_EQ(ups[0].button, TMouseButton::mbLeft);
    EXPECT_EQ(ups[0].shift, TShiftState(ssLeft));
}

TEST_F(TrayMouse, ASingleClickIsReportedOnceAfterTheWait)
{
    TTrayIcon* icon = ShownIcon();
    RecordClicks(icon);
    Mouse(icon, WM_LBUTTONDOWN);
    Mouse(icon, WM_LBUTTONUP);
    EXPECT_TRUE(icon->ClickPending());
    EXPECT_EQ(clicks, 0);   // not before the double-click time has passed
    PumpEventsFor(250);
    EXPECT_EQ(clicks, 1);
    EXPECT_FALSE(icon->ClickPending());
}

TEST_F(TrayMouse, ADoubleClickIsReportedOnceWithoutAClick)
{
    TTrayIcon* icon = ShownIcon();
    RecordClicks(icon);
    Mouse(icon, WM_LBUTTONDOWN);
    Mouse(icon, WM_LBUTTONUP);
    Mouse(icon, WM_LBUTTONDBLCLK);
    Mouse(icon, WM_LBUTTONUP);
    EXPECT_EQ(doubleClicks, 1);
    PumpEventsFor(250);
    EXPECT_EQ(clicks, 0);
    EXPECT_EQ(doubleClicks, 1);
}

TEST_F(TrayMouse, AReleaseWithoutClickHandlerLeavesNothingPending)
{
    TTrayIcon* icon = ShownIcon();
    Mouse(icon, WM_LBUTTONDBLCLK);
    EXPECT_TRUE(icon->ClickPending());
    Mouse(icon, WM_LBUTTONUP);
    EXPECT_FALSE(icon->ClickPending());
}

TEST_F(TrayMouse, DisablingDuringTheWaitCancelsTheClickAndSilencesTheIcon)
{
    TTrayIcon* icon = ShownIcon();
    auto* menu = new TPopupMenu(form.get());
    icon->SetRBPopupMenu(menu);
    RecordClicks(icon);
    Mouse(icon, WM_LBUTTONDOWN);
    Mouse(icon, WM_LBUTTONUP);
    ASSERT_TRUE(icon->ClickPending());
    icon->SetEnabled(false);
    EXPECT_FALSE(icon->ClickPending());
    PumpEventsFor(250);
    EXPECT_EQ(clicks, 0);

    RecordUps(icon);

    Mouse(icon, WM_RBUTTONDOWN);
    Mouse(icon, WM_RBUTTONUP);
    Mouse(icon, WM_LBUTTONDBLCLK);
    EXPECT_TRUE(platform->Popups.empty());
    EXPECT_TRUE(ups.empty());
    EXPECT_EQ(doubleClicks, 0);
}

TEST_F(TrayMouse, MessagesForUnknownIdentifiersAreIgnored)
{
    TTrayIcon* icon = ShownIcon();
    RecordDowns(icon);
    const HWND window = CallbackWindow->Handle();
    platform->SendMessage(window, WM_TRAYNOTIFY, 999, WM_LBUTTONDOWN);
    EXPECT_TRUE(downs.empty());
    EXPECT_EQ(CallbackWindow->CurrentIcon(), nullptr);
    platform->SendMessage(window, WM_TRAYNOTIFY, static_cast<WPARAM>(icon->IconId()), WM_LBUTTONDOWN);
    EXPECT_EQ(downs.size(), 1u);
    EXPECT_EQ(CallbackWindow->CurrentIcon(), icon);
}

TEST_F(TrayMouse, AnIconDestroyedDuringTheWaitIsNotTouchedWhenItEnds)
{
    TTrayIcon* icon = ShownIcon();
    RecordClicks(icon);
    Mouse(icon, WM_LBUTTONDOWN);
    Mouse(icon, WM_LBUTTONUP);
    delete icon;
    PumpEventsFor(250);
    EXPECT_EQ(clicks, 0);
}

TEST_F(TrayMouse, AHandlerMayHideTheIconThatWasDoubleClicked)
{
    TTrayIcon* icon = ShownIcon();
    icon->OnDblClick = [icon](QObject*) { icon->SetVisible(false); };
    Mouse(icon, WM_LBUTTONDOWN);
    Mouse(icon, WM_LBUTTONUP);
    Mouse(icon, WM_LBUTTONDBLCLK);
    EXPECT_FALSE(icon->Registered());
    EXPECT_TRUE(platform->ShownIcons().empty());
}
