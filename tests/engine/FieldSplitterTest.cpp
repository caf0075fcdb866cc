#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "RandomText.h"
#include "ReferenceEngine.h"
#include "engine/Engine.h"

namespace {

const std::string Space = " ";
const std::string Recognizer = " \"<>'";
const std::string Range = "[]- ";
const std::string Lf = "\n";

std::vector<std::string> Fields(std::string_view text, std::string_view set)
{
    std::vector<std::string> all;
    ForEachField(text, set, [&](std::string_view f) { all.emplace_back(f); });
    return all;
}

using V = std::vector<std::string>;

}  // namespace

TEST(FieldSplitter, DelimiterRunsSeparateAndNeverMakeEmptyFields)
{
    EXPECT_EQ(FieldCount("", Space), 0);
    EXPECT_EQ(FieldAt("", Space, 1), "");
    EXPECT_EQ(FieldCount("   ", Space), 0);
    EXPECT_EQ(Fields("  a  b ", Space), (V{"a", "b"}));
    EXPECT_EQ(FieldAt("  a  b ", Space, 3), "");
    EXPECT_EQ(FieldAt("  a  b ", Space, 0), "");
    EXPECT_EQ(Fields(std::string("a\0b", 3), Space), (V{"a", "b"}));
    EXPECT_EQ(Fields("l1\n\nl2\n", Lf), (V{"l1", "l2"}));
}

TEST(FieldSplitter, QuotesOpenFieldsThatRunToTheNextQuote)
{
    EXPECT_EQ(Fields("ab\"cd ef", Space), (V{"ab", "cd ef"}));
    EXPECT_EQ(Fields("\"a b\"c d", Space), (V{"a b", "c", "d"}));
    EXPECT_EQ(Fields("a \"b", Space), (V{"a", "b"}));
    EXPECT_EQ(Fields("a\n\"b\nc\"d\ne", Lf), (V{"a", "b\nc", "d", "e"}));
}

TEST(FieldSplitter, AnEmptyFieldEndsTheCountButCanStillBeAskedFor)
{
    EXPECT_EQ(FieldCount("x \"\" y", Space), 1);
    EXPECT_EQ(FieldAt("x \"\" y", Space, 2), "");
    EXPECT_EQ(FieldAt("x \"\" y", Space, 3), "y");
    EXPECT_EQ(FieldCount("a \"b\" c\"", Space), 3);
    EXPECT_EQ(FieldCount("\"\"\"", Space), 0);
    EXPECT_EQ(Fields("a\nx=\"\"\nb", Lf), (V{"a", "x="}));
}

TEST(FieldSplitter, RecognizerAndRangeSets)
{
    EXPECT_EQ(Fields("a\"b<c>d'e", Recognizer), (V{"a", "b", "c", "d", "e"}));
    EXPECT_EQ(Fields("\"a b\"", Recognizer), (V{"a", "b"}));
    EXPECT_EQ(FieldCount("x \"\" y", Recognizer), 2);
    EXPECT_EQ(Fields("[01-99]", Range), (V{"01", "99"}));
    EXPECT_EQ(Fields("[ 5 - 7 ]", Range), (V{"5", "7"}));
    EXPECT_EQ(Fields("[-5]", Range), (V{"5"}));
    EXPECT_EQ(Fields("[1-2-3]", Range), (V{"1", "2", "3"}));
    EXPECT_EQ(Fields("[\x81[1-3]", Range), (V{"\x81[1", "3"}));
}

TEST(FieldSplitter, SecondByteQuoteStillOpensAQuotedField)
{
    // 0x81 0x22 is no character, yet the quote is recognized by value.
    EXPECT_EQ(Fields("a\x81\"b c\" d", Recognizer), (V{"a\x81", "b c", "d"}));
    EXPECT_EQ(Fields("\x81\"b c\" d", Space), (V{"\x81", "b c", "d"}));
}

TEST(FieldSplitter, OnePassMatchesFieldAtAndFieldCountOnRandomText)
{
    std::mt19937 random(11);
    const std::string sets[] = {Space, Recognizer, Range, Lf};
    for (int trial = 0; trial < 6000; ++trial) {
        const std::string text = RandomText(random, 25);
        for (const std::string& set : sets) {
            const int count = reference::FieldCount(text, set);
            V expected;
            for (int i = 1; i <= count; ++i)
                expected.push_back(reference::FieldAt(text, set, i));
            ASSERT_EQ(Fields(text, set), expected);
            ASSERT_EQ(FieldCount(text, set), count);
            for (int i = 0; i <= count + 2; ++i)
                ASSERT_EQ(FieldAt(text, set, i), reference::FieldAt(text, set, i));
        }
    }
}
