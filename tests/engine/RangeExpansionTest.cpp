#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "Engine.h"

namespace {

using V = std::vector<std::string>;

V Expand(std::string_view url, bool on = true)
{
    TExtractOptions options;
    options.EXTRACTION = on;
    TUrlList list;
    AddExpanded(url, options, list);
    V urls;
    for (std::size_t i = 0; i < list.Count(); ++i)
        urls.push_back(list[i]);
    return urls;
}

}  // namespace

TEST(RangeExpansion, NumbersKeepTheStartBoundsWidth)
{
    EXPECT_EQ(Expand("http://h/a[1-3].jpg", false), (V{"http://h/a[1-3].jpg"}));
    EXPECT_EQ(Expand("h/a[01-03].jpg"), (V{"h/a01.jpg", "h/a02.jpg", "h/a03.jpg"}));
    EXPECT_EQ(Expand("a[8-11]"), (V{"a8", "a9", "a10", "a11"}));
    EXPECT_EQ(Expand("a[000-2]"), (V{"a000", "a001", "a002"}));
    EXPECT_EQ(Expand("a[0-0]"), (V{"a0"}));
    EXPECT_EQ(Expand("a[3-1]"), (V{"a3"}));
    EXPECT_EQ(Expand("a[+1-2]"), (V{"a01", "a02"}));
    EXPECT_EQ(Expand("a[$0A-$0C]"), (V{"a010", "a011", "a012"}));
}

TEST(RangeExpansion, UnreadableRangesStayUnchanged)
{
    for (const char* url : {"a[5].jpg", "a[-3].jpg", "a]x[1-2]", "h/[1-2", "a[a-c]", "a[99999999999-1]",
                            "a[$FFFFFFFF-3]", "a[1-x]", "a[]"})
        EXPECT_EQ(Expand(url), (V{url})) << url;
}

TEST(RangeExpansion, BracketsAndFieldsFollowTheSplitter)
{
    EXPECT_EQ(Expand("a[1-2]/b[3-4]"), (V{"a1/b[3-4]", "a2/b[3-4]"}));
    EXPECT_EQ(Expand("a[ 1 - 2 ]"), (V{"a1", "a2"}));
    EXPECT_EQ(Expand("a[1--3]"), (V{"a1", "a2", "a3"}));
    EXPECT_EQ(Expand("a[1-2-3]"), (V{"a1", "a2"}));
    EXPECT_EQ(Expand("a[[1-2]"), (V{"a1", "a2"}));
    EXPECT_EQ(Expand("a[1-2]]"), (V{"a1]", "a2]"}));
    EXPECT_EQ(Expand("h/\x81[[1-2]"), (V{"h/\x81[1", "h/\x81[2"}));  // ー keeps its 0x5B
}

TEST(RangeExpansion, LargeRangesUpToTheLimit)
{
    EXPECT_EQ(Expand("a[0-99999]").size(), 100000u);
    const V top = Expand("a[2147483646-2147483647]");
    EXPECT_EQ(top, (V{"a2147483646", "a2147483647"}));
    EXPECT_EQ(Expand("a[1-1000000]").size(), 1000000u);
}

TEST(RangeExpansion, OversizedRangesAndPatternsAreRefusedBeforeAppending)
{
    TExtractOptions options;
    options.EXTRACTION = true;
    TUrlList list;
    list.Append("kept");
    EXPECT_THROW(AddExpanded("a[0-2147483647]", options, list), EFormatError);
    EXPECT_THROW(AddExpanded("a[0-1000000]", options, list), EFormatError);
    EXPECT_THROW(AddExpanded("a[$80000000-$7FFFFFFF]", options, list), EFormatError);
    EXPECT_THROW(AddExpanded("a[" + std::string(224, '0') + "1-2]", options, list), EFormatError);
    EXPECT_THROW(AddExpanded("a[1-1000]" + std::string(300000, 'x'), options, list), EFormatError);
    EXPECT_EQ(list.Count(), 1u);
    EXPECT_EQ(Expand("a[" + std::string(223, '0') + "1-1]").front().size(), 225u);
}

TEST(RangeExpansion, ParseRangeBoundForms)
{
    EXPECT_EQ(ParseRangeBound("007"), 7);
    EXPECT_EQ(ParseRangeBound("+5"), 5);
    EXPECT_EQ(ParseRangeBound("-2147483648"), INT_MIN);
    EXPECT_EQ(ParseRangeBound("  12"), 12);
    EXPECT_EQ(ParseRangeBound("$1f"), 31);
    EXPECT_EQ(ParseRangeBound("0x10"), 16);
    EXPECT_EQ(ParseRangeBound("x10"), 16);
    EXPECT_EQ(ParseRangeBound("X10"), 16);
    EXPECT_EQ(ParseRangeBound("$80000000"), INT_MIN);
    EXPECT_EQ(ParseRangeBound("$000000010"), 16);
    for (const char* bad :
         {"", "5 ", "0x", "$", "+", "1e3", "2147483648", "-2147483649", "$100000000", "-$1", "1-"})
        EXPECT_EQ(ParseRangeBound(bad), -1) << bad;
}

TEST(ZeroPadding, MinimumWidthAndSign)
{
    EXPECT_EQ(ZeroPad(7, 3), "007");
    EXPECT_EQ(ZeroPad(1234, 2), "1234");
    EXPECT_EQ(ZeroPad(5, 0), "5");
    EXPECT_EQ(ZeroPad(0, 1), "0");
    EXPECT_EQ(ZeroPad(-5, 3), "-005");
    EXPECT_EQ(ZeroPad(INT_MIN, 1), "-2147483648");
    EXPECT_EQ(ZeroPad(1, 224).size(), 224u);
    EXPECT_THROW(ZeroPad(1, 225), EFormatError);
}
