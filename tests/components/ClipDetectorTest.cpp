#include "QvClipDetector.h"
#include "platform/dummy/DummyPlatform.h"

#include <gtest/gtest.h>
#include <algorithm>
#include <memory>

namespace {

// Another program's viewer that follows the chain rules.
struct ForeignViewer {
    TDummyPlatform& platform;
    HWND self = 0;
    HWND next = 0;
    int changesSeen = 0;
    LRESULT answer = 0;   // what it answers to a chain notice it passes on unseen

    explicit ForeignViewer(TDummyPlatform& p) : platform(p) {}

    void Join()
    {
        self = platform.CreateHiddenWindow([this](UINT m, WPARAM w, LPARAM l) { return Proc(m, w, l); });
        next = platform.SetClipboardViewer(self);
    }
    void Leave()
    {
        platform.ChangeClipboardChain(self, next);
        platform.DestroyHiddenWindow(self);
    }
    LRESULT Proc(UINT m, WPARAM w, LPARAM l)
    {
        if (m == WM_DRAWCLIPBOARD) {
            ++changesSeen;
            if (next)
                platform.SendMessage(next, m, 0, 0);
        } else if (m == WM_CHANGECBCHAIN) {
            if (w == next)
                next = l;
            else if (next)
                return platform.SendMessage(next, m, w, l);
            else
                return answer;
        }
        return 0;
    }
};

class ClipDetector : public ::testing::Test {
protected:
    TDummyPlatformScope platform;
    QObject owner;
    int events = 0;
    TNotifyEvent counting = [this](QObject*) { ++events; };

    std::size_t SentTo(HWND window, UINT message)
    {
        return std::count_if(platform->Sent.begin(), platform->Sent.end(),
                             [&](const auto& s) { return s.window == window && s.uMsg == message; });
    }
};

} // namespace

TEST_F(ClipDetector, JoinsOnlyWithAHandlerAndIgnoresTheRegistrationNoticeByDefault)
{
    TQvClipDetector detector(&owner);
    EXPECT_TRUE(detector.IgnoreFirst());
    EXPECT_EQ(detector.WindowHandle(), 0u);
    EXPECT_TRUE(platform->Chain().empty());

    detector.SetOnClipChange(counting);
    ASSERT_NE(detector.WindowHandle(), 0u);
    EXPECT_EQ(platform->Chain(), std::vector<HWND>{detector.WindowHandle()});
    EXPECT_EQ(SentTo(detector.WindowHandle(), WM_DRAWCLIPBOARD), 1u);   // delivered, not raised
    EXPECT_EQ(events, 0);
    EXPECT_FALSE(detector.Registering());

    platform->ChangeClipboard();
    platform->ChangeClipboard();
    EXPECT_EQ(events, 2);
}

TEST_F(ClipDetector, WithoutIgnoreFirstRaisesFromWithinTheAssignment)
{
    TQvClipDetector detector(&owner);
    detector.SetIgnoreFirst(false);
    bool sawRegistering = false;
    detector.SetOnClipChange([&](QObject* sender) {
        ++events;
        sawRegistering = detector.Registering();
        EXPECT_EQ(sender, &detector);
    });
    EXPECT_EQ(events, 1);
    EXPECT_TRUE(sawRegistering);
    EXPECT_FALSE(detector.Registering());
}

TEST_F(ClipDetector, ReplacingTheHandlerDoesNotRegisterTwice)
{
    TQvClipDetector detector(&owner);
    ForeignViewer other(*platform);
    other.Join();
    detector.SetOnClipChange(counting);
    const HWND window = detector.WindowHandle();
    int replacementEvents = 0;
    detector.SetOnClipChange([&](QObject*) { ++replacementEvents; });

    EXPECT_EQ(detector.WindowHandle(), window);
    EXPECT_EQ(detector.NextViewer(), other.self);
    EXPECT_EQ(platform->Chain().size(), 2u);
    EXPECT_EQ(platform->HiddenWindowsCreated, 2);
    platform->ChangeClipboard();
    EXPECT_EQ(events, 0);
    EXPECT_EQ(replacementEvents, 1);
}

TEST_F(ClipDetector, ClearingTheHandlerLeavesTheChainButKeepsNextViewer)
{
    TQvClipDetector detector(&owner);
    detector.SetOnClipChange(nullptr);   // outside the chain: nothing at all
    EXPECT_TRUE(platform->Sent.empty());
    EXPECT_EQ(platform->HiddenWindowsCreated, 0);

    ForeignViewer other(*platform);
    other.Join();
    detector.SetOnClipChange(counting);
    detector.SetOnClipChange(nullptr);
    EXPECT_EQ(detector.WindowHandle(), 0u);
    EXPECT_FALSE(detector.OnClipChange());
    EXPECT_EQ(detector.NextViewer(), other.self);
    EXPECT_EQ(platform->Chain(), std::vector<HWND>{other.self});
    EXPECT_EQ(platform->LiveHiddenWindows(), 1);   // only the other viewer's
    platform->ChangeClipboard();
    EXPECT_EQ(events, 0);
}

TEST_F(ClipDetector, RejoiningGoesBackToTheHeadWithTheNewNextViewer)
{
    TQvClipDetector detector(&owner);
    detector.SetOnClipChange(counting);
    detector.SetOnClipChange(nullptr);
    ForeignViewer other(*platform);
    other.Join();
    detector.SetOnClipChange(counting);
    EXPECT_EQ(platform->Chain().front(), detector.WindowHandle());
    EXPECT_EQ(detector.NextViewer(), other.self);
}

TEST_F(ClipDetector, AWindowThatCannotBeCreatedLeavesTheDetectorOutside)
{
    TQvClipDetector detector(&owner);
    platform->FailWindowCreation = true;
    try {
        detector.SetOnClipChange(counting);
        FAIL() << "expected EOutOfResources";
    } catch (const EOutOfResources& e) {
        EXPECT_STREQ(e.what(), "TQvClipDetector.SetOnClipChange: Cannot Allocate HWnd");
    }
    EXPECT_EQ(detector.WindowHandle(), 0u);
    EXPECT_FALSE(detector.OnClipChange());
    EXPECT_TRUE(platform->Chain().empty());
}

TEST_F(ClipDetector, ChainOfSeveralViewersPassesChangesOnAfterTheHandlerAndSurvivesALeaver)
{
    ForeignViewer first(*platform), last(*platform);
    first.Join();
    TQvClipDetector detector(&owner);
    int firstSeenDuringHandler = -1;
    detector.SetOnClipChange([&](QObject*) {
        ++events;
        firstSeenDuringHandler = first.changesSeen;
    });
    last.Join();
    EXPECT_EQ(detector.NextViewer(), first.self);
    EXPECT_EQ(last.next, detector.WindowHandle());

    const int firstBefore = first.changesSeen;
    platform->ChangeClipboard();
    EXPECT_EQ(events, 1);
    EXPECT_EQ(firstSeenDuringHandler, firstBefore);   // handler ran before passing on
    EXPECT_EQ(first.changesSeen, firstBefore + 1);

    detector.SetOnClipChange(nullptr);   // leaves from the middle
    EXPECT_EQ(last.next, first.self);
    EXPECT_EQ(platform->Chain(), (std::vector<HWND>{last.self, first.self}));
    platform->ChangeClipboard();
    EXPECT_EQ(events, 1);
    EXPECT_EQ(first.changesSeen, firstBefore + 2);
}

TEST_F(ClipDetector, ChainNoticeNamingTheNextViewerRelinksAndStops)
{
    ForeignViewer below(*platform);
    below.Join();
    TQvClipDetector detector(&owner);
    detector.SetOnClipChange(counting);
    platform->Sent.clear();

    const LRESULT result = platform->SendMessage(detector.WindowHandle(), WM_CHANGECBCHAIN, below.self, 0);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(detector.NextViewer(), 0u);
    EXPECT_EQ(platform->Sent.size(), 1u);   // only our own send: nothing passed on

    // As the last viewer a change is raised and sent nowhere.
    platform->Sent.clear();
    platform->SendMessage(detector.WindowHandle(), WM_DRAWCLIPBOARD, 0, 0);
    EXPECT_EQ(events, 1);
    EXPECT_EQ(platform->Sent.size(), 1u);
}

TEST_F(ClipDetector, ChainNoticeNamingAnotherWindowIsPassedOnWithTheAnswer)
{
    ForeignViewer below(*platform);
    below.Join();
    below.answer = 42;
    TQvClipDetector detector(&owner);
    detector.SetOnClipChange(counting);
    platform->Sent.clear();

    const LRESULT result = platform->SendMessage(detector.WindowHandle(), WM_CHANGECBCHAIN, 0x777, 0x999);
    EXPECT_EQ(result, 42);
    EXPECT_EQ(detector.NextViewer(), below.self);
    ASSERT_EQ(platform->Sent.size(), 2u);
    EXPECT_EQ(platform->Sent[1].window, below.self);
    EXPECT_EQ(platform->Sent[1].wParam, 0x777u);
    EXPECT_EQ(platform->Sent[1].lParam, 0x999u);

    // With no next viewer the notice reaches nobody and answers 0.
    platform->SendMessage(detector.WindowHandle(), WM_CHANGECBCHAIN, below.self, 0);
    EXPECT_EQ(platform->SendMessage(detector.WindowHandle(), WM_CHANGECBCHAIN, 0x777, 0), 0);
}

TEST_F(ClipDetector, DestructionLeavesTheChainConnectedAndOutsideTouchesNothing)
{
    ForeignViewer first(*platform), last(*platform);
    first.Join();
    auto* detector = new TQvClipDetector(&owner);
    detector->SetOnClipChange(counting);
    last.Join();
    delete detector;
    EXPECT_EQ(last.next, first.self);
    EXPECT_EQ(platform->Chain(), (std::vector<HWND>{last.self, first.self}));
    EXPECT_EQ(platform->LiveHiddenWindows(), 2);

    platform->Sent.clear();
    { TQvClipDetector outside(&owner); }
    EXPECT_TRUE(platform->Sent.empty());
}

TEST_F(ClipDetector, TheOwnerTakesItsDetectorOutOfTheChain)
{
    auto* form = new QObject;
    auto* detector = new TQvClipDetector(form);
    detector->SetOnClipChange(counting);
    delete form;
    EXPECT_TRUE(platform->Chain().empty());
    EXPECT_EQ(platform->LiveHiddenWindows(), 0);
}

TEST_F(ClipDetector, AFailingHandlerIsNotCaughtAndStopsThePassingOn)
{
    ForeignViewer below(*platform);
    below.Join();
    TQvClipDetector detector(&owner);
    detector.SetOnClipChange([](QObject*) { throw std::runtime_error("boom"); });
    const int seen = below.changesSeen;
    EXPECT_THROW(platform->ChangeClipboard(), std::runtime_error);
    EXPECT_EQ(below.changesSeen, seen);
}

TEST_F(ClipDetector, AHandlerFailingDuringRegistrationDoesNotLeaveRegisteringSet)
{
    TQvClipDetector detector(&owner);
    detector.SetIgnoreFirst(false);
    EXPECT_THROW(detector.SetOnClipChange([](QObject*) { throw std::runtime_error("boom"); }),
                 std::runtime_error);
    EXPECT_FALSE(detector.Registering());
    // Later notifications are raised as usual, not mistaken for the registration one.
    detector.SetIgnoreFirst(true);
    detector.SetOnClipChange(counting);
    platform->ChangeClipboard();
    EXPECT_EQ(events, 1);
}
