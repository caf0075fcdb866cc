#include <gtest/gtest.h>

#include <random>

#include "RandomText.h"
#include "ReferenceEngine.h"
#include "engine/Engine.h"

namespace {
const std::string Choon = "\x81\x5B";  // ー: second byte is "["
const std::string Hyo = "\x95\x5C";    // 表: second byte is "\"
constexpr auto npos = std::string_view::npos;
}  // namespace

TEST(ByteKind, FollowsTheRunOfLeadValuesBeforeTheByte)
{
    const std::string text = "a" + Choon + "\x81\x81\x81[" + std::string(1, '\0') + "[";
    EXPECT_EQ(ByteKindAt(text, 1), TByteKind::Single);
    EXPECT_EQ(ByteKindAt(text, 2), TByteKind::Lead);
    EXPECT_EQ(ByteKindAt(text, 3), TByteKind::Second);
    EXPECT_EQ(ByteKindAt(text, 4), TByteKind::Lead);
    EXPECT_EQ(ByteKindAt(text, 5), TByteKind::Second);  // 0x81 after one lead value
    EXPECT_EQ(ByteKindAt(text, 6), TByteKind::Lead);    // two lead values before: even
    EXPECT_EQ(ByteKindAt(text, 7), TByteKind::Second);
    EXPECT_EQ(ByteKindAt(text, 8), TByteKind::Single);  // NUL is always single
    EXPECT_EQ(ByteKindAt(text, 9), TByteKind::Single);
}

TEST(ByteKind, OnlySingleBytesDelimit)
{
    const std::string text = Choon + "[" + std::string(1, '\0');
    EXPECT_FALSE(IsDelimiterAt("[", text, 2));
    EXPECT_TRUE(IsDelimiterAt("[", text, 3));
    EXPECT_TRUE(IsDelimiterAt("", text, 4));  // NUL belongs to every set
    EXPECT_FALSE(IsDelimiterAt("[", text, 0));
    EXPECT_FALSE(IsDelimiterAt("[", text, 5));
}

TEST(WholeCharacterSearch, SkipsMatchesStartingOnASecondByte)
{
    const std::string text = "x" + Choon + "[1]" + Hyo + "\\";
    EXPECT_EQ(FindWhole(text, "["), 3u);
    EXPECT_EQ(FindWhole(text, "[1"), 3u);
    EXPECT_EQ(FindWhole(text, "\\"), 8u);
    EXPECT_EQ(FindLastSingleByte(text, '\\'), 8u);
    EXPECT_EQ(FindLastSingleByte("C:" + Hyo, '\\'), npos);
    EXPECT_EQ(FindWhole(text, "[", 4), npos);
    EXPECT_FALSE(ContainsWhole(Choon, "["));
    EXPECT_EQ(FindWhole("abc", ""), npos);
}

TEST(WholeCharacterSearch, IgnoreCaseFoldsAsciiLettersOnly)
{
    EXPECT_EQ(FindWhole("xx HtTp://", "http://", 0, true), 3u);
    EXPECT_EQ(FindWhole("xx HtTp://", "http://", 0, false), npos);
    EXPECT_EQ(ReplaceAllWhole("A HTTP://b http://c", "http://", " http://", true), "A  http://b  http://c");
    EXPECT_EQ(FindWhole("\x82\xa0", "\x82\x80", 0, true), npos);
}

TEST(WholeCharacterSearch, ReplaceNeverRescansInsertedText)
{
    EXPECT_EQ(ReplaceAllWhole("aaa", "a", "aa"), "aaaaaa");
    EXPECT_EQ(ReplaceAllWhole("://://", "://", " http://"), " http:// http://");
    EXPECT_EQ(ReplaceAllWhole(Choon + "[[", "[", "<"), Choon + "<<");
    EXPECT_EQ(ReplaceAllWhole("abc", "", "x"), "abc");
}

TEST(WholeCharacterSearch, AgreesWithByteByByteKindsOnRandomText)
{
    std::mt19937 random(7);
    const char* patterns[] = {"[", "\\", "://", "http://", "\x81[", "\x81", "ww.", "\x82\xa0"};
    for (int trial = 0; trial < 4000; ++trial) {
        const std::string text = RandomText(random, 30);
        for (const char* pattern : patterns) {
            for (bool ignoreCase : {false, true}) {
                ASSERT_EQ(ReplaceAllWhole(text, pattern, "#", ignoreCase),
                          reference::ReplaceAll(text, pattern, "#", ignoreCase));
            }
        }
        std::size_t last = npos;
        for (std::size_t p = 1; p <= text.size(); ++p)
            if (text[p - 1] == '\\' && ByteKindAt(text, p) == TByteKind::Single)
                last = p - 1;
        ASSERT_EQ(FindLastSingleByte(text, '\\'), last);
    }
}
