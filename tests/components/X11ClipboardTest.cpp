// The desktop backend on a real X server: changes made by another process and
// by this one each raise exactly one OnClipChange.

#include "QvClipDetector.h"

#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QProcess>
#include <QThread>
#include <gtest/gtest.h>

namespace {

// Copies `text` to the clipboard from another process, as a user's program would.
void CopyFromAnotherProcess(const QByteArray& text)
{
    QProcess xclip;
    xclip.start("xclip", {"-selection", "clipboard", "-i"});
    ASSERT_TRUE(xclip.waitForStarted(5000));
    xclip.write(text);
    xclip.closeWriteChannel();
    ASSERT_TRUE(xclip.waitForFinished(5000));   // xclip forks a holder and returns
}

// Runs the event loop until `done` or the timeout; then a little longer to
// catch any duplicate notification.
template <typename Done>
void WaitFor(Done done, int timeoutMs = 5000, int settleMs = 400)
{
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < timeoutMs) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(5);
    }
    timer.restart();
    while (timer.elapsed() < settleMs) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(5);
    }
}

} // namespace

TEST(X11Clipboard, EachCopyRaisesOneChange)
{
    QObject owner;
    TQvClipDetector detector(&owner);
    int changes = 0;
    detector.SetOnClipChange([&](QObject*) { ++changes; });
    ASSERT_NE(detector.WindowHandle(), 0u);
    WaitFor([] { return false; }, 0, 300);
    EXPECT_EQ(changes, 0) << "the contents present at start raise nothing";

    CopyFromAnotherProcess("first http://example.com/a");
    WaitFor([&] { return changes >= 1; });
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "first http://example.com/a");

    CopyFromAnotherProcess("second http://example.com/b");
    WaitFor([&] { return changes >= 2; });
    EXPECT_EQ(changes, 2);

    // The program's own writes are changes too.
    QGuiApplication::clipboard()->setText("own http://example.com/c");
    WaitFor([&] { return changes >= 3; });
    EXPECT_EQ(changes, 3);

    CopyFromAnotherProcess("third");
    WaitFor([&] { return changes >= 4; });
    EXPECT_EQ(changes, 4);

    detector.SetOnClipChange(nullptr);
    CopyFromAnotherProcess("unheard");
    WaitFor([] { return false; }, 0, 400);
    EXPECT_EQ(changes, 4);
}
