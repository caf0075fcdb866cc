#include <gtest/gtest.h>

#include "FakeServices.h"
#include "TestFiles.h"
#include "Workspace.h"

namespace {

using Strings = std::vector<std::string>;
using Flags = std::vector<bool>;

QString Utf8(const char* text) { return QString::fromUtf8(text); }

class ListOperations : public ::testing::Test {
protected:
    TFakeServices Services;
    TWorkspace Workspace{Services, "/nonexistent/"};
    TUrlList& List = Workspace.List;

    void Select(std::initializer_list<std::size_t> indexes)
    {
        for (std::size_t i : indexes)
            List.SetSelected(i, true);
    }
};

TEST_F(ListOperations, ModifyMovesTheFirstSelectedItemToTheEntryLine)
{
    Fill(List, {"a", "b", "c", "d"});
    Select({1, 2, 3});
    EXPECT_EQ(Workspace.FirstSelectedIndex(), 1);
    Workspace.Button9Click();
    EXPECT_EQ(Workspace.UrlEntry, "b");
    EXPECT_EQ(Texts(List), (Strings{"a", "c", "d"}));
    EXPECT_EQ(Selections(List), (Flags{false, true, true}));
    EXPECT_EQ(Workspace.StatusLine, Utf8("報告＞修正後は追加ボタンを押してください。"));
}

TEST_F(ListOperations, ModifyAndDeleteWithoutSelectionReportAndChangeNothing)
{
    Fill(List, {"a", "b"});
    EXPECT_EQ(Workspace.FirstSelectedIndex(), -1);
    Workspace.Button9Click();
    EXPECT_EQ(Workspace.StatusLine, Utf8("エラー＞修正するURLが選択されていません。"));
    EXPECT_EQ(Workspace.UrlEntry, "http://");
    Workspace.Button4Click();
    EXPECT_EQ(Workspace.StatusLine, Utf8("エラー＞削除するURLが選択されていません。"));
    EXPECT_EQ(Texts(List), (Strings{"a", "b"}));
}

TEST_F(ListOperations, DeleteSelectedRemovesExactlyTheSelectedItems)
{
    Fill(List, {"a", "b", "c", "d", "e"});
    Select({0, 2, 4});
    List.SetFocused(4);
    Workspace.Button4Click();
    EXPECT_EQ(Texts(List), (Strings{"b", "d"}));
    EXPECT_EQ(List.Focused(), 1);
    EXPECT_EQ(Workspace.StatusLine, Utf8("報告＞URLを削除しました。"));
}

TEST_F(ListOperations, DeleteAll)
{
    Workspace.Button5Click();
    EXPECT_EQ(Workspace.StatusLine, Utf8("エラー＞削除するURLがありません。"));
    Fill(List, {"a", ""});
    Workspace.Button5Click();
    EXPECT_TRUE(List.Empty());
    EXPECT_EQ(Workspace.StatusLine, Utf8("報告＞URLを全て削除しました。"));
}

TEST_F(ListOperations, DeduplicateKeepsCaseVariantsAndOneCopyOfEachExactDuplicate)
{
    Fill(List, {"http://b/", "http://a/", "http://B/", "http://a/", "http://A/", "http://a/", "http://b/"});
    Workspace.Button11Click();
    EXPECT_EQ(Texts(List), (Strings{"http://A/", "http://a/", "http://B/", "http://b/"}));
    EXPECT_EQ(Workspace.StatusLine, Utf8("報告＞重複していたURLを削除しました。"));
    EXPECT_EQ(Services.ExtentResets, 1);
}

TEST_F(ListOperations, DeduplicateOnOneItemReportsAndLeavesTheList)
{
    Fill(List, {"x"});
    Select({0});
    Workspace.Button11Click();
    EXPECT_EQ(Workspace.StatusLine, Utf8("エラー＞重複チェックするURLがありません。"));
    EXPECT_EQ(Texts(List), Strings{"x"});
    EXPECT_EQ(Selections(List), Flags{true});
    EXPECT_EQ(Services.ExtentResets, 1);
}

TEST_F(ListOperations, ReorderingOperationsDeselectAndKeepTheFocusedIndex)
{
    const Strings items{"http://c/", "http://a/", "http://b/", "http://a/"};
    for (auto operation : {&TWorkspace::Button13Click, &TWorkspace::Button14Click, &TWorkspace::Button15Click}) {
        List.Clear();
        Fill(List, items);
        Select({0, 1, 3});
        List.SetFocused(2);
        Workspace.Options.BEFORE = "c";
        (Workspace.*operation)();
        EXPECT_EQ(Selections(List), (Flags{false, false, false, false}));
        EXPECT_EQ(List.Focused(), 2);
    }
    // De-duplicating shortens the list: the focus moves onto the last item.
    List.SetFocused(3);
    Workspace.Button11Click();
    EXPECT_EQ(List.Count(), 3u);
    EXPECT_EQ(List.Focused(), 2);
}

TEST_F(ListOperations, ReplaceRewritesInPlaceOnWholeCharactersOnly)
{
    // "表" is 0x95 0x5C: its second byte must not be taken for a backslash.
    Fill(List, {"http://x/\x95\x5c\\a", "http://y/", "ftp://z/"});
    Workspace.Options.BEFORE = "\\";
    Workspace.Options.AFTER = "/";
    Workspace.Button15Click();
    EXPECT_EQ(List[0], "http://x/\x95\x5c/a");

    Workspace.Options.BEFORE = "http://";
    Workspace.Options.AFTER = "https://";
    Workspace.Button15Click();
    EXPECT_EQ(Texts(List), (Strings{"https://x/\x95\x5c/a", "https://y/", "ftp://z/"}));
    EXPECT_EQ(Workspace.StatusLine, Utf8("報告＞置き換えが完了しました。"));

    Workspace.Options.BEFORE = "/";
    Workspace.Options.AFTER.clear();
    Workspace.Button15Click();
    EXPECT_EQ(List[1], "https:y");
}

TEST_F(ListOperations, SearchAndReplaceNeedASearchText)
{
    Fill(List, {"a"});
    Workspace.Button15Click();
    EXPECT_EQ(Workspace.StatusLine, Utf8("エラー＞検索文字列が指定されていません。"));
    Workspace.StatusLine.clear();
    Workspace.Button16Click();
    EXPECT_EQ(Workspace.StatusLine, Utf8("エラー＞検索文字列が指定されていません。"));
    EXPECT_EQ(Services.ExtentResets, 2);
    EXPECT_EQ(Texts(List), Strings{"a"});
}

TEST_F(ListOperations, SearchInvertAndDeleteLeavesOnlyTheMatches)
{
    Fill(List, {"http://h/a.zip", "http://h/b.html", "http://h/c.ZIP", "http://h/d.zip", "http://h/e.txt"});
    Select({4});
    Workspace.Options.SEARCH = ".zip";
    Workspace.Button16Click();
    // Case-sensitive, and earlier selections stay.
    EXPECT_EQ(Selections(List), (Flags{true, false, false, true, true}));
    EXPECT_EQ(Workspace.SelectedCountLabel, Utf8("選択数 ：3"));
    EXPECT_EQ(Workspace.StatusLine, Utf8("報告＞検索が完了しました。"));

    List.SetSelected(4, false);
    Workspace.Button18Click();
    EXPECT_EQ(Workspace.SelectedCountLabel, Utf8("選択数 ：3"));
    EXPECT_EQ(Workspace.StatusLine, Utf8("報告＞選択を反転しました。"));
    Workspace.Button4Click();
    EXPECT_EQ(Texts(List), (Strings{"http://h/a.zip", "http://h/d.zip"}));
}

TEST_F(ListOperations, SearchMatchesWholeCharactersOnly)
{
    Fill(List, {"http://x/\x95\x5c", "http://x/\\"});
    Workspace.Options.SEARCH = "\\";
    Workspace.Button16Click();
    EXPECT_EQ(Selections(List), (Flags{false, true}));
}

TEST_F(ListOperations, ClearSelectionDeselectsAllAndUpdatesTheLabel)
{
    Fill(List, {"a", "b"});
    Select({0, 1});
    Workspace.Button17Click();
    EXPECT_EQ(Selections(List), (Flags{false, false}));
    EXPECT_EQ(Workspace.SelectedCountLabel, Utf8("選択数 ：0"));
    EXPECT_EQ(Workspace.StatusLine, Utf8("報告＞選択を解除しました。"));
    EXPECT_EQ(Services.ExtentResets, 1);
}

}  // namespace
