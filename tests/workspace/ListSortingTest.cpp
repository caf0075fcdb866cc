#include <gtest/gtest.h>

#include <algorithm>

#include "Cp932.h"
#include "FakeServices.h"
#include "TestFiles.h"
#include "Workspace.h"

namespace {

using Strings = std::vector<std::string>;

class ListSorting : public ::testing::Test {
protected:
    TFakeServices Services;
    TWorkspace Workspace{Services, "/nonexistent/"};
    TUrlList& List = Workspace.List;
};

TEST_F(ListSorting, HelpTextExampleSortsForwardAndBackward)
{
    Fill(List, {"http://3www/.2", "http://1www/.3", "http://2www/.1"});
    Workspace.StatusLine = "untouched";
    Workspace.Button13Click();
    EXPECT_EQ(Texts(List), (Strings{"http://1www/.3", "http://2www/.1", "http://3www/.2"}));
    Workspace.Button14Click();
    EXPECT_EQ(Texts(List), (Strings{"http://2www/.1", "http://3www/.2", "http://1www/.3"}));
    EXPECT_EQ(Workspace.StatusLine, "untouched");
    EXPECT_EQ(Services.ExtentResets, 2);
}

TEST_F(ListSorting, BackwardSortGroupsByExtensionAndRestoresJapaneseText)
{
    const std::string kanjiPage = "http://h/" + Sjis("表紙") + ".html";
    Fill(List, {"http://h/a.zip", kanjiPage, "http://h/b.jpg", "http://h/" + Sjis("ソ") + ".zip", "http://h/c.html"});
    Workspace.Button14Click();
    const Strings sorted = Texts(List);
    ASSERT_EQ(sorted.size(), 5u);
    EXPECT_TRUE(std::find(sorted.begin(), sorted.end(), kanjiPage) != sorted.end());
    auto endsWith = [](const std::string& text, const std::string& end) {
        return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
    };
    // Read from the end: "gpj." < "lmth." < "piz.".
    EXPECT_TRUE(endsWith(sorted[0], ".jpg"));
    EXPECT_TRUE(endsWith(sorted[1], ".html"));
    EXPECT_TRUE(endsWith(sorted[2], ".html"));
    EXPECT_TRUE(endsWith(sorted[3], ".zip"));
    EXPECT_TRUE(endsWith(sorted[4], ".zip"));
}

TEST_F(ListSorting, CollationIsCaseInsensitiveAndJapaneseAware)
{
    Fill(List, {"http://x/" + Sjis("う"), "http://x/B", "http://x/" + Sjis("あ"), "http://x/a", "http://x/" + Sjis("い"),
                "http://x/2", "http://x/10"});
    Workspace.Button13Click();
    EXPECT_EQ(Texts(List), (Strings{"http://x/10", "http://x/2", "http://x/a", "http://x/B", "http://x/" + Sjis("あ"),
                                    "http://x/" + Sjis("い"), "http://x/" + Sjis("う")}));
}

TEST_F(ListSorting, ItemsThatCollateEqualAreOrderedByTheirBytes)
{
    Fill(List, {"http://x/a", "http://x/A", "http://x/a", "http://x/A"});
    Workspace.Button13Click();
    EXPECT_EQ(Texts(List), (Strings{"http://x/A", "http://x/A", "http://x/a", "http://x/a"}));
}

TEST_F(ListSorting, InvalidBytesSortWithoutCrashingAndAreKeptExactly)
{
    const std::string broken = std::string("http://x/\x81", 10);
    Fill(List, {broken, "http://x/\xff\xfe", "http://x/a", ""});
    Workspace.Button13Click();
    Workspace.Button14Click();
    Strings sorted = Texts(List);
    std::sort(sorted.begin(), sorted.end());
    Strings expected{broken, "http://x/\xff\xfe", "http://x/a", ""};
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(sorted, expected);
}

TEST_F(ListSorting, SortsOfAnEmptyListDoNothing)
{
    Workspace.StatusLine = "untouched";
    Workspace.Button13Click();
    Workspace.Button14Click();
    EXPECT_TRUE(List.Empty());
    EXPECT_EQ(Workspace.StatusLine, "untouched");
}

}  // namespace
