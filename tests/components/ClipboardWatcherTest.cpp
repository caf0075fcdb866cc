// The watcher on the application's real clipboard (offscreen, and under Xvfb
// on X11): this process's own copies are heard before the copy returns.
#include "components/ClipboardWatcher.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QSignalSpy>
#include <gtest/gtest.h>
#include <memory>

namespace {

void Copy(const char* text)
{
    QGuiApplication::clipboard()->setText(QString::fromLatin1(text));
}

}  // namespace

TEST(ClipboardWatcher, ReportsEachChangeWhileWatchingAndNotTheContentsFoundAtTheStart)
{
    Copy("there before");
    TClipboardWatcher watcher;
    QSignalSpy changes(&watcher, &TClipboardWatcher::Changed);
    Copy("before the start");
    EXPECT_FALSE(watcher.Watching());

    watcher.Start();
    watcher.Start();  // still one report per change
    EXPECT_TRUE(watcher.Watching());
    EXPECT_EQ(changes.count(), 0);
    Copy("http://example.com/a");
    EXPECT_EQ(changes.count(), 1);
    Copy("http://example.com/a");  // the same text again is a copy all the same
    QGuiApplication::clipboard()->clear();
    EXPECT_EQ(changes.count(), 3);

    watcher.Stop();
    Copy("unheard");
    EXPECT_EQ(changes.count(), 3);
    watcher.Start();
    Copy("heard again");
    EXPECT_EQ(changes.count(), 4);
}

TEST(ClipboardWatcher, WithoutIgnoreFirstTheContentsAtTheStartAreReportedAtOnce)
{
    TClipboardWatcher watcher;
    watcher.SetIgnoreFirst(false);
    QSignalSpy changes(&watcher, &TClipboardWatcher::Changed);
    watcher.Start();
    EXPECT_EQ(changes.count(), 1);
    Copy("next");
    EXPECT_EQ(changes.count(), 2);
}

TEST(ClipboardWatcher, GoesWithItsOwnerAndAReceiverMayStopItWhileBeingTold)
{
    auto owner = std::make_unique<QObject>();
    auto* watcher = new TClipboardWatcher(owner.get());
    int told = 0;
    QObject::connect(watcher, &TClipboardWatcher::Changed, [&] {
        ++told;
        watcher->Stop();
        Copy("written by the receiver");  // the receiver's own write, unheard
    });
    watcher->Start();
    Copy("first");
    EXPECT_EQ(told, 1);
    watcher->Start();
    owner.reset();
    Copy("after the owner has gone");
    EXPECT_EQ(told, 1);
}
