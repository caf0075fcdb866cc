#include <gtest/gtest.h>

#include <ostream>
#include <random>
#include <vector>

#include "Engine.h"
#include "RandomText.h"
#include "ReferenceEngine.h"

using reference::ToCp932;

namespace {

struct TKanaCase {
    const char* Name;
    std::string Text;
    std::string Expected;
};

// A failing row is reported by its name rather than as a dump of its bytes.
void PrintTo(const TKanaCase& row, std::ostream* out)
{
    *out << row.Name;
}

// Built when the tests are registered, not during static initialization:
// the CP932 conversion lives in another translation unit.
std::vector<TKanaCase> KanaCases()
{
    const std::string untouched = ToCp932("ＡＢＣがガ漢字ｱｶｻぁ") + "abc";
    return {
        {"KanaTypedSchemeBecomesLatin", ToCp932("くかかせけめめ"), "http://"},
        {"WordsConvertWithoutContext", ToCp932("あいう"), "3e4"},
        {"AsciiAroundKanaStays", "x" + ToCp932("みかか") + "y", "xntty"},
        {"UnlistedCharactersStay", untouched, untouched},
        {"Empty", "", ""},
        // The bytes of "て" behind a lead byte belong to another character.
        {"KanaBytesBehindALeadByteStay", "\x88" + ToCp932("て"), "\x88\x82\xc4"},
        {"LoneLeadByteStays", "\x82", "\x82"},
    };
}

class KanaKeysRows : public testing::TestWithParam<TKanaCase> { };

}  // namespace

TEST_P(KanaKeysRows, Converts)
{
    EXPECT_EQ(ConvertKanaKeys(GetParam().Text), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(Table, KanaKeysRows, testing::ValuesIn(KanaCases()),
                         [](const auto& row) { return std::string(row.param.Name); });

TEST(KanaKeys, EveryEntryOfTheTableConverts)
{
    const auto& table = reference::KanaTable();
    ASSERT_EQ(table.size(), 76u);
    std::string kana, keys;
    for (const auto& [character, key] : table) {
        EXPECT_EQ(ConvertKanaKeys(character), key) << key;
        kana += character;
        keys += key;
    }
    EXPECT_EQ(ConvertKanaKeys(kana), keys);
}

TEST(KanaKeys, OnePassMatchesTheReplacementsInTurn)
{
    std::mt19937 random(13);
    for (int trial = 0; trial < 5000; ++trial) {
        const std::string text = RandomText(random, 30);
        ASSERT_EQ(ConvertKanaKeys(text), reference::ConvertKanaKeys(text));
    }
}
