#include "QvClipDetector.h"
#include "platform/dummy/DummyPlatform.h"

#include <gtest/gtest.h>

namespace {

// Another program's viewer that keeps the chain rules.
struct ForeignViewer {
    TDummyPlatform& platform;
    HWND self = 0;
    HWND next = 0;
    int changesSeen = 0;
    LRESULT answer = 0;  // its answer to a chain notice that ends with it

    explicit ForeignViewer(TDummyPlatform& p) : platform(p)
    {
        self = platform.CreateHiddenWindow([this](UINT m, WPARAM w, LPARAM l) { return Proc(m, w, l); });
        next = platform.SetClipboardViewer(self);
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
            else
                return next ? platform.SendMessage(next, m, w, l) : answer;
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
};

using Chain = std::vector<HWND>;

}  // namespace

TEST_F(ClipDetector, RegistrationNoticeIsIgnoredByDefaultAndRaisedInsideTheAssignmentOtherwise)
{
    TQvClipDetector detector(&owner);
    EXPECT_TRUE(platform->Chain().empty());  // construction does not join
    detector.SetOnClipChange(counting);
    ASSERT_NE(detector.WindowHandle(), 0u);
    EXPECT_EQ(platform->Chain(), Chain{detector.WindowHandle()});
    EXPECT_EQ(platform->Sent.size(), 1u);  // the notice came, and raised nothing
    EXPECT_EQ(events, 0);
    platform->ChangeClipboard();
    platform->ChangeClipboard();
    EXPECT_EQ(events, 2);

    TQvClipDetector eager(&owner);
    eager.SetIgnoreFirst(false);
    bool sawRegistering = false;
    eager.SetOnClipChange([&](QObject* sender) {
        sawRegistering = eager.Registering();
        EXPECT_EQ(sender, &eager);
    });
    EXPECT_TRUE(sawRegistering);
    EXPECT_FALSE(eager.Registering());
}

TEST_F(ClipDetector, HandlersAreReplacedWithoutRejoiningAndClearedByLeaving)
{
    TQvClipDetector detector(&owner);
    detector.SetOnClipChange(nullptr);  // outside the chain: touches nothing
    EXPECT_TRUE(platform->Sent.empty());

    ForeignViewer other(*platform);
    detector.SetOnClipChange(counting);
    int replacementEvents = 0;
    detector.SetOnClipChange([&](QObject*) { ++replacementEvents; });
    EXPECT_EQ(platform->Chain().size(), 2u);
    EXPECT_EQ(platform->HiddenWindowsCreated, 2);
    platform->ChangeClipboard();
    EXPECT_EQ(events, 0);
    EXPECT_EQ(replacementEvents, 1);

    detector.SetOnClipChange(nullptr);
    EXPECT_EQ(detector.WindowHandle(), 0u);
    EXPECT_FALSE(detector.OnClipChange());
    EXPECT_EQ(detector.NextViewer(), other.self);  // kept after leaving
    EXPECT_EQ(platform->Chain(), Chain{other.self});
    EXPECT_EQ(platform->LiveHiddenWindows(), 1);

    ForeignViewer newer(*platform);
    detector.SetOnClipChange(counting);  // rejoins at the head
    EXPECT_EQ(platform->Chain().front(), detector.WindowHandle());
    EXPECT_EQ(detector.NextViewer(), newer.self);
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

TEST_F(ClipDetector, InAChainOfSeveralTheHandlerRunsFirstAndLeavingKeepsTheChainLinked)
{
    ForeignViewer first(*platform);
    auto* detector = new TQvClipDetector(&owner);
    int firstSeenDuringHandler = -1;
    detector->SetOnClipChange([&](QObject*) {
        ++events;
        firstSeenDuringHandler = first.changesSeen;
    });
    ForeignViewer last(*platform);
    EXPECT_EQ(detector->NextViewer(), first.self);

    const int firstBefore = first.changesSeen;
    platform->ChangeClipboard();
    EXPECT_EQ(events, 1);
    EXPECT_EQ(firstSeenDuringHandler, firstBefore);
    EXPECT_EQ(first.changesSeen, firstBefore + 1);

    detector->SetOnClipChange(nullptr);  // leaves from the middle
    EXPECT_EQ(last.next, first.self);
    platform->ChangeClipboard();
    EXPECT_EQ(events, 1);
    EXPECT_EQ(first.changesSeen, firstBefore + 2);

    detector->SetOnClipChange(counting);
    ForeignViewer top(*platform);
    delete detector;  // destruction leaves with the current next viewer
    EXPECT_EQ(top.next, last.self);
    EXPECT_EQ(platform->Chain(), (Chain{top.self, last.self, first.self}));

    platform->Sent.clear();
    auto* form = new QObject;
    new TQvClipDetector(form);
    delete form;  // an owner takes its detector along; outside the chain nothing is touched
    EXPECT_TRUE(platform->Sent.empty());
    EXPECT_EQ(platform->LiveHiddenWindows(), 3);
}

TEST_F(ClipDetector, ChainNoticesRelinkWhenTheyNameTheNextViewerAndArePassedOnOtherwise)
{
    ForeignViewer below(*platform);
    below.answer = 42;
    TQvClipDetector detector(&owner);
    detector.SetOnClipChange(counting);
    const HWND self = detector.WindowHandle();
    platform->Sent.clear();

    EXPECT_EQ(platform->SendMessage(self, WM_CHANGECBCHAIN, 0x777, 0x999), 42);
    ASSERT_EQ(platform->Sent.size(), 2u);
    EXPECT_EQ(platform->Sent[1].window, below.self);
    EXPECT_EQ(platform->Sent[1].wParam, 0x777u);
    EXPECT_EQ(platform->Sent[1].lParam, 0x999u);
    EXPECT_EQ(detector.NextViewer(), below.self);

    platform->Sent.clear();
    EXPECT_EQ(platform->SendMessage(self, WM_CHANGECBCHAIN, below.self, 0), 0);
    EXPECT_EQ(detector.NextViewer(), 0u);
    EXPECT_EQ(platform->Sent.size(), 1u);  // nothing passed on

    // As the last viewer: a change is raised and sent nowhere; a notice reaches nobody.
    platform->Sent.clear();
    platform->SendMessage(self, WM_DRAWCLIPBOARD, 0, 0);
    EXPECT_EQ(platform->SendMessage(self, WM_CHANGECBCHAIN, 0x777, 0), 0);
    EXPECT_EQ(events, 1);
    EXPECT_EQ(platform->Sent.size(), 2u);
}

TEST_F(ClipDetector, AFailingHandlerIsNotCaughtAndNeverLeavesRegisteringSet)
{
    ForeignViewer below(*platform);
    TQvClipDetector detector(&owner);
    auto failing = [](QObject*) { throw std::runtime_error("boom"); };
    detector.SetOnClipChange(failing);
    const int seen = below.changesSeen;
    EXPECT_THROW(platform->ChangeClipboard(), std::runtime_error);
    EXPECT_EQ(below.changesSeen, seen);  // the failure stops the passing on

    detector.SetOnClipChange(nullptr);
    detector.SetIgnoreFirst(false);
    EXPECT_THROW(detector.SetOnClipChange(failing), std::runtime_error);
    EXPECT_FALSE(detector.Registering());

    // Later notifications are raised, not mistaken for the registration one.
    detector.SetIgnoreFirst(true);
    detector.SetOnClipChange(counting);
    platform->ChangeClipboard();
    EXPECT_EQ(events, 1);
}
