#include <gtest/gtest.h>

#include <set>

#include "FakeServices.h"

namespace {

using Flags = std::vector<bool>;

struct ListOperations : TWorkspaceFixture, ::testing::Test { };

TEST_F(ListOperations, ModifyAndDeleteWorkOnTheSelection)
{
    W.Button9Click();
    EXPECT_EQ(W.StatusLine, Utf8("エラー＞修正するURLが選択されていません。"));
    W.Button4Click();
    EXPECT_EQ(W.StatusLine, Utf8("エラー＞削除するURLが選択されていません。"));

    Fill(List, {"a", "b", "c", "d", "e"}, {1, 2, 4});
    List.SetFocused(4);
    W.Button9Click();  // takes the first selected item only
    EXPECT_EQ(W.UrlEntry, "b");
    EXPECT_EQ(Selections(List), (Flags{false, true, false, true}));
    EXPECT_EQ(W.StatusLine, Utf8("報告＞修正後は追加ボタンを押してください。"));
    W.Button4Click();
    EXPECT_EQ(Texts(List), (Strings{"a", "d"}));
    EXPECT_EQ(List.Focused(), 1);
    EXPECT_EQ(W.StatusLine, Utf8("報告＞URLを削除しました。"));
}

TEST_F(ListOperations, DeduplicateSortsAndKeepsCaseVariants)
{
    Fill(List, {"x"}, {0});
    W.Button11Click();
    EXPECT_EQ(W.StatusLine, Utf8("エラー＞重複チェックするURLがありません。"));
    EXPECT_EQ(Selections(List), Flags{true});

    List.Clear();
    // Exact duplicates separated by a case variant must still meet.
    Fill(List, {"http://b/", "http://a/", "http://B/", "http://a/", "http://A/", "http://a/", "http://b/"});
    W.Button11Click();
    EXPECT_EQ(Texts(List), (Strings{"http://A/", "http://a/", "http://B/", "http://b/"}));
    EXPECT_EQ(W.StatusLine, Utf8("報告＞重複していたURLを削除しました。"));
    EXPECT_EQ(Services.ExtentResets, 2);
}

TEST_F(ListOperations, SortsFollowTheHelpTextExampleAndWriteNoStatus)
{
    W.Button13Click();  // an empty list: nothing to do, nothing to report
    W.Button14Click();
    EXPECT_TRUE(List.Empty());
    Fill(List, {"http://3www/.2", "http://1www/.3", "http://2www/.1"});
    W.Button13Click();
    EXPECT_EQ(Texts(List), (Strings{"http://1www/.3", "http://2www/.1", "http://3www/.2"}));
    W.Button14Click();
    EXPECT_EQ(Texts(List), (Strings{"http://2www/.1", "http://3www/.2", "http://1www/.3"}));
    EXPECT_TRUE(W.StatusLine.isEmpty());
}

TEST_F(ListOperations, CollationIsCaseInsensitiveJapaneseAwareAndSurvivesBrokenBytes)
{
    const std::string a = Sjis("あ"), i = Sjis("い"), u = Sjis("う");
    Fill(List, {u, "B", a, "a", i, "2", "10"});
    W.Button13Click();
    EXPECT_EQ(Texts(List), (Strings{"10", "2", "a", "B", a, i, u}));
    // Reversed double-byte characters are invalid CP932; they still sort
    // and come back byte for byte.
    W.Button14Click();
    const Strings texts = Texts(List);
    EXPECT_EQ(std::multiset<std::string>(texts.begin(), texts.end()),
              (std::multiset<std::string>{u, "B", a, "a", i, "2", "10"}));
}

TEST_F(ListOperations, ReorderingDeselectsAndKeepsTheFocusedIndex)
{
    for (auto operation :
         {&TWorkspace::Button13Click, &TWorkspace::Button14Click, &TWorkspace::Button15Click}) {
        List.Clear();
        Fill(List, {"http://c/", "http://a/", "http://b/"}, {0, 1});
        List.SetFocused(2);
        W.Options.BEFORE = "c";
        (W.*operation)();
        EXPECT_EQ(Selections(List), (Flags{false, false, false}));
        EXPECT_EQ(List.Focused(), 2);
    }
}

TEST_F(ListOperations, ReplaceWorksOnWholeCharactersInPlace)
{
    W.Button15Click();
    EXPECT_EQ(W.StatusLine, Utf8("エラー＞検索文字列が指定されていません。"));
    // "表" is 0x95 0x5C: its second byte is no backslash.
    Fill(List, {"http://x/\x95\x5c\\a", "ftp://z/"});
    W.Options.BEFORE = "\\";
    W.Options.AFTER = "/";
    W.Button15Click();
    W.Options.BEFORE = "http://";
    W.Options.AFTER = "https://";
    W.Button15Click();
    EXPECT_EQ(Texts(List), (Strings{"https://x/\x95\x5c/a", "ftp://z/"}));
    EXPECT_EQ(W.StatusLine, Utf8("報告＞置き換えが完了しました。"));
}

TEST_F(ListOperations, SearchInvertAndDeleteLeaveOnlyTheMatches)
{
    W.Button16Click();
    EXPECT_EQ(W.StatusLine, Utf8("エラー＞検索文字列が指定されていません。"));
    Fill(List,
         {"http://h/a.zip", "http://h/b.html", "http://h/c.ZIP", "http://h/\x95\x5czip", "http://h/d.zip"},
         {2});
    W.Options.SEARCH = ".zip";
    W.Button16Click();  // case-sensitive; earlier selections stay
    EXPECT_EQ(Selections(List), (Flags{true, false, true, false, true}));
    EXPECT_EQ(W.SelectedCountLabel, Utf8("選択数 ：3"));
    EXPECT_EQ(W.StatusLine, Utf8("報告＞検索が完了しました。"));
    W.Options.SEARCH = "\\zip";
    W.Button16Click();
    EXPECT_EQ(List.SelectedCount(), 3u);

    List.SetSelected(2, false);
    W.Button18Click();
    EXPECT_EQ(W.StatusLine, Utf8("報告＞選択を反転しました。"));
    W.Button4Click();
    EXPECT_EQ(Texts(List), (Strings{"http://h/a.zip", "http://h/d.zip"}));

    Fill(List, {}, {0, 1});
    W.Button17Click();
    EXPECT_EQ(W.SelectedCountLabel, Utf8("選択数 ：0"));
    EXPECT_EQ(W.StatusLine, Utf8("報告＞選択を解除しました。"));
    EXPECT_EQ(Services.ExtentResets, 5);
}

// Not a timing assertion: a quadratic step would turn about a second into minutes.
TEST_F(ListOperations, LargeListsStayFast)
{
    for (int i = 0; i < 200000; ++i)
        List.Append("http://host" + std::to_string(i % 50000) + ".example/" + std::to_string(i % 100000));
    W.Button11Click();
    EXPECT_EQ(List.Count(), 100000u);
    W.Button14Click();
    W.Options.SEARCH = "/1";
    W.Button16Click();
    const std::size_t kept = List.Count() - List.SelectedCount();
    W.Button4Click();
    EXPECT_EQ(List.Count(), kept);
}

}  // namespace
