#include <gtest/gtest.h>

#include <QSignalSpy>

#include <set>
#include <utility>

#include "WorkspaceFixture.h"

namespace {

using Flags = std::vector<bool>;

struct ListOperations : TWorkspaceFixture, ::testing::Test { };

TEST_F(ListOperations, ModifyAndDeleteWorkOnTheSelection)
{
    W.ModifySelected();
    EXPECT_EQ(W.StatusLine(), Utf8("エラー＞修正するURLが選択されていません。"));
    W.DeleteSelected();
    EXPECT_EQ(W.StatusLine(), Utf8("エラー＞削除するURLが選択されていません。"));

    Fill(List, {"a", "b", "c", "d", "e"}, {1, 2, 4});
    List.SetFocused(4);
    W.ModifySelected();  // takes the first selected item only
    EXPECT_EQ(W.UrlEntry, "b");
    EXPECT_EQ(Selections(List), (Flags{false, true, false, true}));
    EXPECT_EQ(W.StatusLine(), Utf8("報告＞修正後は追加ボタンを押してください。"));
    W.DeleteSelected();
    EXPECT_EQ(Texts(List), (Strings{"a", "d"}));
    EXPECT_EQ(List.Focused(), 1);
    EXPECT_EQ(W.StatusLine(), Utf8("報告＞URLを削除しました。"));
}

TEST_F(ListOperations, DeduplicateSortsAndKeepsCaseVariants)
{
    Fill(List, {"x"}, {0});
    W.DeleteDuplicates();
    EXPECT_EQ(W.StatusLine(), Utf8("エラー＞重複チェックするURLがありません。"));
    EXPECT_EQ(Selections(List), Flags{true});

    List.Clear();
    // Exact duplicates separated by a case variant must still meet.
    Fill(List, {"http://b/", "http://a/", "http://B/", "http://a/", "http://A/", "http://a/", "http://b/"});
    QSignalSpy widthReset(&W, &TWorkspace::ListScrollWidthReset);
    W.DeleteDuplicates();
    EXPECT_EQ(Texts(List), (Strings{"http://A/", "http://a/", "http://B/", "http://b/"}));
    EXPECT_EQ(W.StatusLine(), Utf8("報告＞重複していたURLを削除しました。"));
    EXPECT_EQ(widthReset.count(), 1);
}

TEST_F(ListOperations, SortsFollowTheHelpTextExampleAndWriteNoStatus)
{
    W.SortForward();  // an empty list: nothing to do, nothing to report
    W.SortBackward();
    EXPECT_TRUE(List.Empty());
    Fill(List, {"http://3www/.2", "http://1www/.3", "http://2www/.1"});
    W.SortForward();
    EXPECT_EQ(Texts(List), (Strings{"http://1www/.3", "http://2www/.1", "http://3www/.2"}));
    W.SortBackward();
    EXPECT_EQ(Texts(List), (Strings{"http://2www/.1", "http://3www/.2", "http://1www/.3"}));
    EXPECT_TRUE(W.StatusLine().isEmpty());
}

TEST_F(ListOperations, CollationIsCaseInsensitiveJapaneseAwareAndSurvivesBrokenBytes)
{
    const std::string a = Sjis("あ"), i = Sjis("い"), u = Sjis("う");
    Fill(List, {u, "B", a, "a", i, "2", "10"});
    W.SortForward();
    EXPECT_EQ(Texts(List), (Strings{"10", "2", "a", "B", a, i, u}));
    // Reversed double-byte characters are invalid CP932; they still sort
    // and come back byte for byte.
    W.SortBackward();
    const Strings texts = Texts(List);
    EXPECT_EQ(std::multiset<std::string>(texts.begin(), texts.end()),
              (std::multiset<std::string>{u, "B", a, "a", i, "2", "10"}));
}

TEST_F(ListOperations, ReorderingDeselectsAndKeepsTheFocusedIndex)
{
    for (auto operation : {&TWorkspace::SortForward, &TWorkspace::SortBackward, &TWorkspace::ReplaceInUrls}) {
        List.Clear();
        Fill(List, {"http://c/", "http://a/", "http://b/"}, {0, 1});
        List.SetFocused(2);
        W.Options.ReplaceFrom = "c";
        (W.*operation)();
        EXPECT_EQ(Selections(List), (Flags{false, false, false}));
        EXPECT_EQ(List.Focused(), 2);
    }
}

TEST_F(ListOperations, ReplaceWorksOnWholeCharactersInPlace)
{
    W.ReplaceInUrls();
    EXPECT_EQ(W.StatusLine(), Utf8("エラー＞検索文字列が指定されていません。"));
    // "表" is 0x95 0x5C: its second byte is no backslash.
    Fill(List, {"http://x/\x95\x5c\\a", "ftp://z/"});
    W.Options.ReplaceFrom = "\\";
    W.Options.ReplaceTo = "/";
    W.ReplaceInUrls();
    W.Options.ReplaceFrom = "http://";
    W.Options.ReplaceTo = "https://";
    W.ReplaceInUrls();
    EXPECT_EQ(Texts(List), (Strings{"https://x/\x95\x5c/a", "ftp://z/"}));
    EXPECT_EQ(W.StatusLine(), Utf8("報告＞置き換えが完了しました。"));
}

TEST_F(ListOperations, SearchInvertAndDeleteLeaveOnlyTheMatches)
{
    W.SearchAndSelect();
    EXPECT_EQ(W.StatusLine(), Utf8("エラー＞検索文字列が指定されていません。"));
    Fill(List,
         {"http://h/a.zip", "http://h/b.html", "http://h/c.ZIP", "http://h/\x95\x5czip", "http://h/d.zip"},
         {2});
    W.Options.SearchText = ".zip";
    QSignalSpy countChanged(&W, &TWorkspace::SelectedCountChanged);
    QSignalSpy widthReset(&W, &TWorkspace::ListScrollWidthReset);
    W.SearchAndSelect();  // case-sensitive; earlier selections stay
    EXPECT_EQ(Selections(List), (Flags{true, false, true, false, true}));
    EXPECT_EQ(countChanged.count(), 1);
    EXPECT_EQ(W.StatusLine(), Utf8("報告＞検索が完了しました。"));
    W.Options.SearchText = "\\zip";
    W.SearchAndSelect();
    EXPECT_EQ(List.SelectedCount(), 3u);

    List.SetSelected(2, false);
    W.InvertSelection();
    EXPECT_EQ(W.StatusLine(), Utf8("報告＞選択を反転しました。"));
    W.DeleteSelected();
    EXPECT_EQ(Texts(List), (Strings{"http://h/a.zip", "http://h/d.zip"}));

    Fill(List, {}, {0, 1});
    countChanged.clear();
    widthReset.clear();
    W.ClearSelection();
    EXPECT_EQ(countChanged.count(), 1);
    EXPECT_EQ(W.StatusLine(), Utf8("報告＞選択を解除しました。"));
    EXPECT_EQ(widthReset.count(), 1);
}

// Not a timing assertion: a quadratic step would turn about a second into minutes.
TEST_F(ListOperations, LargeListsStayFast)
{
    for (int i = 0; i < 200000; ++i)
        List.Append("http://host" + std::to_string(i % 50000) + ".example/" + std::to_string(i % 100000));
    W.DeleteDuplicates();
    EXPECT_EQ(List.Count(), 100000u);
    W.SortBackward();
    W.Options.SearchText = "/1";
    W.SearchAndSelect();
    const std::size_t kept = List.Count() - List.SelectedCount();
    W.DeleteSelected();
    EXPECT_EQ(List.Count(), kept);
}

}  // namespace

namespace {

TEST_F(ListOperations, StripTrackingTakesTheSelectionOrEverythingInOneUndoableStep)
{
    W.StripTracking();
    EXPECT_EQ(W.StatusLine(), Utf8("報告＞除去する追跡ﾊﾟﾗﾒｰﾀはありませんでした。"));
    const Strings before{"http://a/?utm_source=x", "http://b/?id=1", "http://c/?fbclid=1&id=2",
                         "www.d/?gclid=3"};
    Fill(List, before, {1, 2});
    W.StripTracking();
    EXPECT_EQ(Texts(List), (Strings{before[0], before[1], "http://c/?id=2", before[3]}));
    EXPECT_EQ(W.StatusLine(), Utf8("報告＞追跡ﾊﾟﾗﾒｰﾀを除去しました。(1件)"));
    EXPECT_EQ(Selections(List), (Flags{false, true, true, false}));

    W.ClearSelection();
    W.StripTracking();
    EXPECT_EQ(Texts(List), (Strings{"http://a/", before[1], "http://c/?id=2", "www.d/"}));
    EXPECT_EQ(W.StatusLine(), Utf8("報告＞追跡ﾊﾟﾗﾒｰﾀを除去しました。(2件)"));
    W.Undo();
    W.Undo();
    EXPECT_EQ(Texts(List), before);

    // The list's menu takes the focused item when nothing is selected.
    W.ClearSelection();
    List.SetFocused(3);
    W.StripTrackingFromChosen();
    EXPECT_EQ(Texts(List), (Strings{before[0], before[1], before[2], "www.d/"}));
}

}  // namespace
