#include <gtest/gtest.h>

#include <climits>
#include <ostream>
#include <vector>

#include "engine/Engine.h"

namespace {

using V = std::vector<std::string>;

V Expand(std::string_view url, const TExtractOptions& options)
{
    TUrlList list;
    AddExpanded(url, options, list);
    V urls;
    for (std::size_t i = 0; i < list.Count(); ++i)
        urls.push_back(list[i]);
    return urls;
}

TExtractOptions Ranges(bool on)
{
    TExtractOptions options;
    options.RangeExpansion = on;
    return options;
}

struct TRangeCase {
    const char* Name;
    std::string Url;
    TExtractOptions Options;
    V Expected;
};

struct TBoundCase {
    const char* Name;
    std::string Text;
    int Expected;
};

struct TPadCase {
    const char* Name;
    int Value;
    int DigitCount;
    std::string Expected;
};

// Failing rows are reported by their names rather than as dumps of their bytes.
void PrintTo(const TRangeCase& row, std::ostream* out)
{
    *out << row.Name;
}

void PrintTo(const TBoundCase& row, std::ostream* out)
{
    *out << row.Name;
}

void PrintTo(const TPadCase& row, std::ostream* out)
{
    *out << row.Name;
}

std::vector<TRangeCase> RangeCases()
{
    const auto on = Ranges(true);
    const std::string zeros223(223, '0');
    return {
        // Numbers keep the width the start bound was written with.
        {"OffLeavesTheRangeAlone", "http://h/a[1-3].jpg", Ranges(false), {"http://h/a[1-3].jpg"}},
        {"LeadingZerosCarryOver", "h/a[01-03].jpg", on, {"h/a01.jpg", "h/a02.jpg", "h/a03.jpg"}},
        {"NumbersGrowPastTheWidth", "a[8-11]", on, {"a8", "a9", "a10", "a11"}},
        {"ShortEndBoundKeepsTheStartsWidth", "a[000-2]", on, {"a000", "a001", "a002"}},
        {"SingleNumberRange", "a[0-0]", on, {"a0"}},
        {"DescendingRangeGivesTheStartOnly", "a[3-1]", on, {"a3"}},
        {"PlusSignCountsInTheWidth", "a[+1-2]", on, {"a01", "a02"}},
        {"HexBoundsWithPrefixWidth", "a[$0A-$0C]", on, {"a010", "a011", "a012"}},
        {"RangeEndingAtIntMaxStops", "a[2147483646-2147483647]", on, {"a2147483646", "a2147483647"}},
        {"StartTextOf224BytesIsTheWidest", "a[" + zeros223 + "1-1]", on, {"a" + zeros223 + "1"}},
        // Ranges that cannot be read stay as they are.
        {"NoEndBound", "a[5].jpg", on, {"a[5].jpg"}},
        {"MinusIsADelimiterNotASign", "a[-3].jpg", on, {"a[-3].jpg"}},
        {"CloseBeforeOpen", "a]x[1-2]", on, {"a]x[1-2]"}},
        {"NoCloseBracket", "h/[1-2", on, {"h/[1-2"}},
        {"LettersAreNoNumbers", "a[a-c]", on, {"a[a-c]"}},
        {"OverflowingStartBound", "a[99999999999-1]", on, {"a[99999999999-1]"}},
        {"HexStartBoundOfMinusOne", "a[$FFFFFFFF-3]", on, {"a[$FFFFFFFF-3]"}},
        {"EndBoundNoNumber", "a[1-x]", on, {"a[1-x]"}},
        {"EmptyBrackets", "a[]", on, {"a[]"}},
        // Brackets and bounds are found the way the field splitter finds them.
        {"OnlyTheFirstRangeExpands", "a[1-2]/b[3-4]", on, {"a1/b[3-4]", "a2/b[3-4]"}},
        {"SpacesAroundBounds", "a[ 1 - 2 ]", on, {"a1", "a2"}},
        {"DoubleMinus", "a[1--3]", on, {"a1", "a2", "a3"}},
        {"ThirdBoundIgnored", "a[1-2-3]", on, {"a1", "a2"}},
        {"DoubleOpenBracket", "a[[1-2]", on, {"a1", "a2"}},
        {"DoubleCloseBracketKeepsOne", "a[1-2]]", on, {"a1]", "a2]"}},
        // ー is 0x81 0x5B: its second byte is no "[".
        {"BracketAsSecondByteIsNoBracket", "h/\x81[[1-2]", on, {"h/\x81[1", "h/\x81[2"}},
    };
}

std::vector<TBoundCase> BoundCases()
{
    return {
        {"LeadingZeros", "007", 7},
        {"PlusSign", "+5", 5},
        {"IntMin", "-2147483648", INT_MIN},
        {"LeadingSpaces", "  12", 12},
        {"DollarHexLowerCase", "$1f", 31},
        {"ZeroXHex", "0x10", 16},
        {"XHex", "x10", 16},
        {"UpperXHex", "X10", 16},
        {"HexFromTopBitIsNegative", "$80000000", INT_MIN},
        {"HexWithLeadingZeros", "$000000010", 16},
        {"Empty", "", -1},
        {"TrailingSpace", "5 ", -1},
        {"ZeroXWithoutDigits", "0x", -1},
        {"DollarWithoutDigits", "$", -1},
        {"SignWithoutDigits", "+", -1},
        {"Exponent", "1e3", -1},
        {"OneAboveIntMax", "2147483648", -1},
        {"OneBelowIntMin", "-2147483649", -1},
        {"HexOver32Bits", "$100000000", -1},
        {"SignBeforeHex", "-$1", -1},
        {"TrailingMinus", "1-", -1},
    };
}

std::vector<TPadCase> PadCases()
{
    return {
        {"FilledToWidth", 7, 3, "007"},
        {"WiderValueNotCut", 1234, 2, "1234"},
        {"ZeroWidthIsPlainDecimal", 5, 0, "5"},
        {"Zero", 0, 1, "0"},
        {"SignBeforeZeros", -5, 3, "-005"},
        {"IntMin", INT_MIN, 1, "-2147483648"},
        {"WidestPattern", 1, 224, std::string(223, '0') + "1"},
    };
}

class RangeExpansionRows : public testing::TestWithParam<TRangeCase> { };
class RangeBoundRows : public testing::TestWithParam<TBoundCase> { };
class ZeroPaddingRows : public testing::TestWithParam<TPadCase> { };

const auto RowName = [](const auto& row) { return std::string(row.param.Name); };

}  // namespace

TEST_P(RangeExpansionRows, Expands)
{
    EXPECT_EQ(Expand(GetParam().Url, GetParam().Options), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(Table, RangeExpansionRows, testing::ValuesIn(RangeCases()), RowName);

TEST_P(RangeBoundRows, Parses)
{
    EXPECT_EQ(ParseRangeBound(GetParam().Text), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(Table, RangeBoundRows, testing::ValuesIn(BoundCases()), RowName);

TEST_P(ZeroPaddingRows, Pads)
{
    EXPECT_EQ(ZeroPad(GetParam().Value, GetParam().DigitCount), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(Table, ZeroPaddingRows, testing::ValuesIn(PadCases()), RowName);

TEST(RangeExpansion, LargeRangesUpToTheLimit)
{
    EXPECT_EQ(Expand("a[0-99999]", Ranges(true)).size(), 100000u);
    EXPECT_EQ(Expand("a[1-1000000]", Ranges(true)).size(), 1000000u);
}

TEST(RangeExpansion, OversizedRangesAndPatternsAreRefusedBeforeAppending)
{
    const auto options = Ranges(true);
    TUrlList list;
    list.Append("kept");
    EXPECT_THROW(AddExpanded("a[0-2147483647]", options, list), EFormatError);
    EXPECT_THROW(AddExpanded("a[0-1000000]", options, list), EFormatError);
    EXPECT_THROW(AddExpanded("a[$80000000-$7FFFFFFF]", options, list), EFormatError);
    EXPECT_THROW(AddExpanded("a[" + std::string(224, '0') + "1-2]", options, list), EFormatError);
    EXPECT_THROW(AddExpanded("a[1-1000]" + std::string(300000, 'x'), options, list), EFormatError);
    EXPECT_EQ(list.Count(), 1u);
}

TEST(ZeroPadding, PatternsAbove224AreRefused)
{
    EXPECT_THROW(ZeroPad(1, 225), EFormatError);
}
