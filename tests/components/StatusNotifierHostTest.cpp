// Which kind of notification area the desktop backend believes holds its
// tray icons, asked of a watcher of the test's own on a private session bus.

#include "components/StatusNotifierHost.h"

#include "StatusNotifierArea.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>
#include <gtest/gtest.h>

namespace {

// The question blocks the asking thread until the watcher answers, so the
// watcher runs in a thread of its own.
class TAreaInThread {
public:
    TAreaInThread(const QString& busAddress, bool withHost)
    {
        FThread.start();
        FContext.moveToThread(&FThread);
        QMetaObject::invokeMethod(
            &FContext, [&] { FArea = new TStatusNotifierArea(busAddress, withHost); },
            Qt::BlockingQueuedConnection);
    }
    ~TAreaInThread()
    {
        QMetaObject::invokeMethod(
            &FContext, [this] { delete FArea; }, Qt::BlockingQueuedConnection);
        FThread.quit();
        FThread.wait();
    }
    bool Serving() const { return FArea && FArea->Serving(); }

private:
    QThread FThread;
    QObject FContext;
    TStatusNotifierArea* FArea = nullptr;
};

bool BecomesUnregistered()
{
    QElapsedTimer timer;
    timer.start();
    while (StatusNotifierHost::Registered()) {
        if (timer.elapsed() > 3000)
            return false;
        QThread::msleep(20);
    }
    return true;
}

}  // namespace

TEST(StatusNotifierHost, OnlyAWatcherWithARegisteredHostCountsAndTheFirstAnswerStays)
{
    TPrivateSessionBus bus;  // before this process first meets a session bus
    ASSERT_FALSE(bus.Address().isEmpty()) << "dbus-daemon did not start";
    EXPECT_FALSE(StatusNotifierHost::Registered()) << "no watcher";
    {
        TAreaInThread area(bus.Address(), false);
        ASSERT_TRUE(area.Serving());
        EXPECT_FALSE(StatusNotifierHost::Registered()) << "a watcher without a host";
    }
    {
        TAreaInThread area(bus.Address(), true);
        ASSERT_TRUE(area.Serving());
        EXPECT_TRUE(StatusNotifierHost::Registered());
        EXPECT_TRUE(StatusNotifierHost::InUse());
    }
    EXPECT_TRUE(BecomesUnregistered());
    EXPECT_TRUE(StatusNotifierHost::InUse()) << "settled once per process, as Qt settles it";
}

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
