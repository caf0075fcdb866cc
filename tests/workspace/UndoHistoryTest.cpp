// Undo and redo of every list-changing handler: each brings back the items,
// their order, the selection, the focus and the entry line exactly.
#include <gtest/gtest.h>

#include <functional>

#include "WorkspaceFixture.h"
#include "workspace/monitor/ClipboardMonitor.h"

namespace {

struct TListState {
    Strings Items;
    std::vector<bool> Selected;
    int Focused;
    std::string Entry;
    bool operator==(const TListState&) const = default;
};

struct UndoHistoryTest : TWorkspaceFixture, ::testing::Test {
    TListState State() const { return {Texts(List), Selections(List), List.Focused(), W.UrlEntry}; }

    // Runs an operation, then checks undo, redo and undo again against the
    // states before and after it.
    void ExpectUndoable(const std::function<void()>& operation)
    {
        const TListState before = State();
        const std::size_t steps = W.History.UndoCount();
        operation();
        const TListState after = State();
        ASSERT_NE(before.Items, after.Items);
        ASSERT_EQ(W.History.UndoCount(), steps + 1);
        W.Undo();
        EXPECT_EQ(W.StatusLine(), Utf8("報告＞元に戻しました。"));
        EXPECT_EQ(State(), before);
        W.Redo();
        EXPECT_EQ(W.StatusLine(), Utf8("報告＞やり直しました。"));
        EXPECT_EQ(State(), after);
        W.Undo();
        EXPECT_EQ(State(), before);
        W.Redo();
    }
};

TEST_F(UndoHistoryTest, EveryListChangingHandlerIsUndoneAndRedone)
{
    Fill(List, {"http://c/", "http://A/", "http://b/x", "http://c/", "www.d/e", "http://a/"}, {1, 3, 4});
    List.SetFocused(3);
    ExpectUndoable([&] { W.DeleteSelected(); });
    List.SetSelected(1, true);
    List.SetFocused(2);
    W.UrlEntry = "http://typed/";
    ExpectUndoable([&] { W.ModifySelected(); });
    W.UrlEntry = "see http://added/1 and http://added/2";
    ExpectUndoable([&] { W.AddEnteredUrl(); });
    List.SetSelected(0, true);
    ExpectUndoable([&] { W.SortForward(); });
    List.SetSelected(2, true);
    ExpectUndoable([&] { W.SortBackward(); });
    List.Append("http://c/");
    List.SetSelected(0, true);
    ExpectUndoable([&] { W.DeleteDuplicates(); });
    W.Options.ReplaceFrom = "http://";
    W.Options.ReplaceTo = "https://";
    List.SetSelected(1, true);
    ExpectUndoable([&] { W.ReplaceInUrls(); });
    Services.Clipboard = "text http://pasted/ text";
    ExpectUndoable([&] { W.PasteClipboard(); });
    ExpectUndoable([&] { W.PasteDroppedText("dropped http://dropped/ and www.links.example/"); });
    WriteBytes(Folder + "in.txt", "http://from.file/1\r\nhttp://from.file/2\r\n");
    ExpectUndoable([&] { W.ReadDroppedFiles({Folder + "in.txt"}); });
    Services.Files.push_back(Folder + "in.txt");
    ExpectUndoable([&] { W.InputTextFile(); });
    List.SetSelected(3, true);
    List.SetFocused(5);
    ExpectUndoable([&] { W.DeleteAll(); });
}

// A replace keeps only where its replacements went; undo and redo rebuild
// the texts from that, whatever the lengths and however many per item.
TEST_F(UndoHistoryTest, ReplacementsComeBackExactlyWhateverTheirLengths)
{
    // 0x83 0x41 is a double-byte character whose second byte is "A": no match there.
    const Strings texts{"AxAxA",
                        "\x83"
                        "AA",
                        "none",
                        "",
                        "A",
                        "xAAx\x83"
                        "A"};
    for (const char* replacement : {"", "B", "BBBB"}) {
        List.Clear();
        Fill(List, texts, {2});
        W.Options.ReplaceFrom = "A";
        W.Options.ReplaceTo = replacement;
        ExpectUndoable([&] { W.ReplaceInUrls(); });
        EXPECT_EQ(List[1], std::string("\x83"
                                       "A")
                               + replacement);
    }
    List.Clear();
    Fill(List, {"abcabc", "cab"});
    W.Options.ReplaceFrom = "abc";
    W.Options.ReplaceTo = "c";
    ExpectUndoable([&] { W.ReplaceInUrls(); });
    EXPECT_EQ(Texts(List), (Strings{"cc", "cab"}));
}

// The sorts reorder the list in place, cycle by cycle; a shuffled list has
// cycles of every length.
TEST_F(UndoHistoryTest, SortsOfAShuffledListComeBackInTheirOrder)
{
    Strings texts;
    for (int i = 0; i < 500; ++i)
        texts.push_back("http://site.example/" + std::to_string(i * 7919 % 500));
    Fill(List, texts, {3, 250});
    ExpectUndoable([&] { W.SortForward(); });
    ExpectUndoable([&] { W.SortBackward(); });
}

TEST_F(UndoHistoryTest, OperationsThatLeaveTheListAsItWasAddNoStep)
{
    Fill(List, {"http://a/", "http://b/"}, {0});
    W.SortForward();  // already in order
    W.DeleteDuplicates();
    W.Options.ReplaceFrom = "zzz";
    W.ReplaceInUrls();
    Services.Clipboard = "no address here";
    W.PasteClipboard();
    W.SearchAndSelect();
    W.InvertSelection();
    W.CopySelected();
    EXPECT_FALSE(W.History.CanUndo());
    W.Undo();
    EXPECT_EQ(W.StatusLine(), Utf8("エラー＞元に戻す操作がありません。"));
    W.Redo();
    EXPECT_EQ(W.StatusLine(), Utf8("エラー＞やり直す操作がありません。"));
}

TEST_F(UndoHistoryTest, ANewChangeEndsRedoAndTheOldestStepsGoPastTheLimit)
{
    for (int i = 0; i < 105; ++i) {
        W.UrlEntry = "http://site/" + std::to_string(i);
        W.AddEnteredUrl();
    }
    EXPECT_EQ(W.History.UndoCount(), 100u);
    for (int i = 0; i < 100; ++i)
        W.Undo();
    EXPECT_EQ(List.Count(), 5u);
    W.Undo();
    EXPECT_EQ(W.StatusLine(), Utf8("エラー＞元に戻す操作がありません。"));
    W.Redo();
    W.DeleteAll();
    W.Redo();
    EXPECT_EQ(W.StatusLine(), Utf8("エラー＞やり直す操作がありません。"));
    W.Undo();
    EXPECT_EQ(List.Count(), 6u);
}

TEST_F(UndoHistoryTest, AFileReadThatFailsHalfWayStillUndoesWhatItAdded)
{
    WriteBytes(Folder + "in.txt", "http://read/1\r\n");
    W.Run([&] { W.ReadDroppedFiles({Folder + "in.txt", Folder + "missing.txt"}); });
    ASSERT_EQ(Texts(List), Strings{"http://read/1"});
    W.Undo();
    EXPECT_TRUE(List.Empty());
}

TEST_F(UndoHistoryTest, TheListWipedByClipboardMonitoringComesBack)
{
    W.Monitoring.SetPaused(false);
    Fill(List, {"http://kept/1", "http://kept/2"}, {1});
    List.SetFocused(1);
    const TListState before = State();
    Services.Clipboard = "copied http://elsewhere/";
    ClipboardMonitor::RewriteClipboard(W);
    ASSERT_TRUE(List.Empty());
    W.Undo();
    EXPECT_EQ(State(), before);
    // A copy while the list is empty changes nothing that undo could bring back.
    W.Redo();
    ClipboardMonitor::RewriteClipboard(W);
    W.Undo();
    EXPECT_EQ(State(), before);
}

TEST_F(UndoHistoryTest, TheBudgetDropsOldStepsButKeepsTheLatest)
{
    TUndoHistory history(100, 64);
    TUrlList list;
    for (int round = 0; round < 3; ++round) {
        for (int i = 0; i < 10; ++i)
            list.Append("http://a-rather-long-address.example/" + std::to_string(i));
        TUndoStep step(list);
        step.TakeAll(list);
        history.Record(std::move(step), list);
    }
    EXPECT_EQ(history.UndoCount(), 1u);
    std::string entry;
    EXPECT_TRUE(history.Undo(list, entry));
    EXPECT_EQ(list.Count(), 10u);
}

// The long sessions of a program that lives in the tray, at a small size:
// the history never holds more than its budget or the list's own size,
// redo steps included, and what stays still undoes exactly.
struct UndoBudgetTest : UndoHistoryTest {
    static constexpr std::size_t Budget = 512 << 10;  // a few lists' worth
    static constexpr int Items = 2000;
    std::string Copied;

    void SetUp() override
    {
        W.History = TUndoHistory(100, Budget);
        for (int i = 0; i < Items; ++i)
            Copied += "http://item.example/" + std::to_string(i) + "\r\n";
        Services.Clipboard = Copied;
        W.PasteClipboard();
        W.History.Clear();
    }
    std::size_t ListBytes() const
    {
        std::size_t bytes = List.Items().capacity() * sizeof(TUrlList::TItem);
        for (const TUrlList::TItem& item : List.Items())
            bytes += item.Text.capacity();
        return bytes;
    }
    void ExpectWithinBudget() const
    {
        EXPECT_LE(W.History.UndoCount() + W.History.RedoCount(), 100u);
        EXPECT_LE(W.History.Bytes(), std::max(Budget, ListBytes()));
    }
};

TEST_F(UndoBudgetTest, ReplaceStepsStayWithinTheBudgetAndUndoExactly)
{
    std::vector<Strings> states{Texts(List)};
    for (int step = 0; step < 120; ++step) {
        W.Options.ReplaceFrom = step % 2 ? "hxxp://" : "http://";
        W.Options.ReplaceTo = std::string(step % 2 ? "http://" : "hxxp://") + std::to_string(step % 10);
        W.ReplaceInUrls();
        states.push_back(Texts(List));
        ExpectWithinBudget();
    }
    ASSERT_GT(W.History.UndoCount(), 1u);
    ASSERT_LT(W.History.UndoCount(), 100u);  // the budget, not the count, limits these
    for (std::size_t undone = 1; W.History.CanUndo(); ++undone) {
        W.Undo();
        ASSERT_TRUE(Texts(List) == states[states.size() - 1 - undone]) << undone;
        ExpectWithinBudget();
    }
}

TEST_F(UndoBudgetTest, UndonePastesCountAsRedoSteps)
{
    for (int round = 0; round < 15; ++round) {
        W.DeleteAll();
        W.PasteClipboard();
        ExpectWithinBudget();
    }
    ASSERT_EQ(List.Count(), static_cast<std::size_t>(Items));
    // Each undone paste holds a list's worth of items for its redo.
    while (W.History.CanUndo()) {
        W.Undo();
        ExpectWithinBudget();
    }
    EXPECT_GT(W.History.RedoCount(), 0u);
    // The redo steps farthest ahead went first: redoing the rest ends after
    // a delete or a paste of that far.
    while (W.History.CanRedo()) {
        W.Redo();
        ExpectWithinBudget();
        EXPECT_TRUE(List.Empty() || Texts(List).size() == static_cast<std::size_t>(Items));
    }
}

}  // namespace
