#include <gtest/gtest.h>

#include <ostream>
#include <random>
#include <utility>
#include <vector>

#include "RandomText.h"
#include "ReferenceEngine.h"
#include "StepWidths.h"
#include "engine/ByteKernels.h"
#include "engine/Engine.h"
#include "engine/KanaKeys.h"
#include "engine/Utf8Scan.h"

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

TEST(KanaKeys, AHeadIsThePrefixOfTheWholeConversion)
{
    std::mt19937 random(31);
    for (int trial = 0; trial < 3000; ++trial) {
        const std::string text = RandomText(random, 8);
        const std::string whole = ConvertKanaKeys(text);
        if (!text.empty()) {
            ASSERT_EQ(FirstConvertedByte(text), whole.front()) << ::testing::PrintToString(text);
        }
        for (std::size_t wanted = 1; wanted <= 12; ++wanted) {
            char head[13];
            const std::size_t length = ConvertKanaKeysHead(text, head, wanted);
            ASSERT_GE(length, std::min(wanted, whole.size()));
            ASSERT_EQ(std::string(head, length), whole.substr(0, length)) << ::testing::PrintToString(text);
        }
    }
}

TEST(KanaKeys, SlashAndDotTestFindsThemAndTheirKanaAtEveryLength)
{
    // め and る turn into "/" and "."; the test may not miss one anywhere,
    // least of all in a step's last bytes, in either encoding.
    const struct {
        bool (*Test)(const unsigned char*, std::size_t);
        std::string Alphabet, Me, Ru;
    } kinds[] = {
        {kernels::MayConvertToSlashAndDot,
         "/.\x82\xDF\xE9"
         "a\x81",
         "\x82\xDF", "\x82\xE9"},
        {kernels::MayConvertUtf8ToSlashAndDot,
         "/.\xE3\x82\x81\x8B"
         "a",
         "\xE3\x82\x81", "\xE3\x82\x8B"},
    };
    std::mt19937 random(37);
    ForEachStepWidth([&] {
        for (const auto& kind : kinds) {
            std::uniform_int_distribution<std::size_t> pick(0, kind.Alphabet.size() - 1);
            for (int trial = 0; trial < 4000; ++trial) {
                std::string text;
                for (std::size_t n = static_cast<std::size_t>(trial % 80); n > 0; --n)
                    text.push_back(kind.Alphabet[pick(random)]);
                const bool slash =
                    text.find('/') != std::string::npos || text.find(kind.Me) != std::string::npos;
                const bool dot =
                    text.find('.') != std::string::npos || text.find(kind.Ru) != std::string::npos;
                ASSERT_EQ(kind.Test(reinterpret_cast<const unsigned char*>(text.data()), text.size()),
                          slash && dot)
                    << ::testing::PrintToString(text);
            }
        }
    });
}

TEST(KanaKeys, Utf8TriggerMarksMatchByteByByteAtEveryLength)
{
    // A mark missed in a step's last bytes would drop a field's URL; one
    // past the end would read a field that is not there.
    const std::string alphabet = "/.\xE3\x82\x81\x8B"
                                 "a";
    std::mt19937 random(41);
    std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
    ForEachStepWidth([&] {
        for (int trial = 0; trial < 3000; ++trial) {
            std::string text;
            for (std::size_t n = static_cast<std::size_t>(trial % 150); n > 0; --n)
                text.push_back(alphabet[pick(random)]);
            const bool kana = trial % 2 == 0;
            std::vector<std::uint64_t> marks((text.size() + 63) / 64, ~std::uint64_t{0});
            kernels::MarkUtf8Triggers(reinterpret_cast<const unsigned char*>(text.data()), text.size(),
                                      marks.data(), kana);
            for (std::size_t i = 0; i < marks.size() * 64; ++i) {
                const bool marked = (marks[i / 64] >> (i % 64)) & 1;
                const bool expected = i < text.size()
                                      && (text[i] == '/' || text[i] == '.'
                                          || (kana
                                              && (text.compare(i, 3, "\xE3\x82\x81") == 0
                                                  || text.compare(i, 3, "\xE3\x82\x8B") == 0)));
                ASSERT_EQ(marked, expected) << i << " in " << ::testing::PrintToString(text);
            }
        }
    });
}

TEST(KanaKeys, Utf8FieldMarksMatchByteByByteAtEveryLength)
{
    const std::string alphabet = std::string("/.:\x1a\r\n \"<>'\0", 12)
                                 + "\xE3\x82\x81\x8B\x8F\xA6"
                                   "ahw";
    std::mt19937 random(43);
    std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
    ForEachStepWidth([&] {
        for (int trial = 0; trial < 4000; ++trial) {
            std::string text;
            for (std::size_t n = static_cast<std::size_t>(trial % 200); n > 0; --n)
                text.push_back(alphabet[pick(random)]);
            const bool kana = trial % 2 == 0, parentPaths = trial % 3 == 0;
            std::vector<kernels::TFieldMarks> marks((text.size() + 63) / 64);
            kernels::MarkUtf8Fields(reinterpret_cast<const unsigned char*>(text.data()), text.size(), kana,
                                    parentPaths, marks.data());
            const auto at = [&](std::size_t i, std::string_view bytes) {
                return text.compare(i, bytes.size(), bytes) == 0;
            };
            for (std::size_t i = 0; i < marks.size() * 64; ++i) {
                const kernels::TFieldMarks& word = marks[i / 64];
                const auto marked = [&](std::uint64_t bits) { return ((bits >> (i % 64)) & 1) != 0; };
                const char c = i < text.size() ? text[i] : 'a';
                const bool inText = i < text.size();
                ASSERT_EQ(marked(word.Ends),
                          inText && std::string_view(" \"<>'\r\n\0", 8).find(c) != std::string_view::npos)
                    << i << " in " << ::testing::PrintToString(text);
                ASSERT_EQ(marked(word.Lines), inText && c == '\n') << i;
                ASSERT_EQ(marked(word.Slashes), inText && (c == '/' || (kana && at(i, "\xE3\x82\x81")))) << i;
                ASSERT_EQ(marked(word.Dots), inText && (c == '.' || (kana && at(i, "\xE3\x82\x8B")))) << i;
                const bool loneCr = c == '\r' && (i + 1 == text.size() || text[i + 1] != '\n');
                ASSERT_EQ(marked(word.Careful),
                          inText && (at(i, "://") || (parentPaths && at(i, "../")) || loneCr || c == '\x1a'))
                    << i << " in " << ::testing::PrintToString(text);
                // A kana counts by the key it was typed on.
                const bool kanaChar = kana && c == '\xE3' && i + 2 < text.size()
                                      && utf8::IsContinuation(static_cast<unsigned char>(text[i + 1]))
                                      && utf8::IsContinuation(static_cast<unsigned char>(text[i + 2]));
                const char first = kanaChar ? FirstConvertedUtf8Byte(text.substr(i, 3)) : c;
                ASSERT_EQ(marked(word.Prefixes),
                          inText && std::string_view("hfmrw/").find(first) != std::string_view::npos)
                    << i << " in " << ::testing::PrintToString(text);
            }
        }
    });
}

TEST(KanaKeys, FieldMarksTakeAKanaForAPrefixByItsKey)
{
    // Every kana, each followed by a space: its first byte is marked
    // exactly when the key it was typed on may start a prefix.
    std::string text;
    for (char32_t cp = 0x3000; cp < 0x3100; ++cp) {
        char bytes[4];
        text.append(bytes, utf8::Encode(cp, bytes)).push_back(' ');
    }
    ForEachStepWidth([&] {
        std::vector<kernels::TFieldMarks> marks((text.size() + 63) / 64);
        kernels::MarkUtf8Fields(reinterpret_cast<const unsigned char*>(text.data()), text.size(), true, false,
                                marks.data());
        for (std::size_t i = 0; i < text.size(); i += 4) {
            const bool marked = ((marks[i / 64].Prefixes >> (i % 64)) & 1) != 0;
            const char key = FirstConvertedUtf8Byte(text.substr(i, 3));
            ASSERT_EQ(marked, std::string_view("hfmrw/").find(key) != std::string_view::npos) << i;
        }
    });
}

TEST(KanaKeys, Utf8TextsConvertCharacterByCharacterWhereverTheStepsCut)
{
    // Kana with and without keys, kanji, ASCII, two- and four-byte
    // characters, and what each becomes.
    const std::vector<std::pair<std::string, std::string>> pieces = {
        {"\xE3\x82\x81", "/"},
        {"\xE3\x81\x8F", "h"},
        {"\xE3\x83\xBC", "|"},
        {"\xE3\x81\x81", "\xE3\x81\x81"},
        {"\xE6\x97\xA5", "\xE6\x97\xA5"},
        {"a", "a"},
        {" ", " "},
        {"\xC3\xA9", "\xC3\xA9"},
        {"\xF0\x9F\x98\x80", "\xF0\x9F\x98\x80"}};
    std::mt19937 random(7);
    std::uniform_int_distribution<std::size_t> pick(0, pieces.size() - 1);
    ForEachStepWidth([&] {
        for (int trial = 0; trial < 600; ++trial) {
            std::string text, expected;
            for (int n = trial % 150; n > 0; --n) {
                const auto& [piece, converted] = pieces[pick(random)];
                text += piece;
                expected += converted;
            }
            std::string out(text.size(), '\0');
            ASSERT_EQ(out.substr(0, ConvertUtf8KanaKeysTo(text, out.data())), expected)
                << ::testing::PrintToString(text);
        }
    });
}

TEST(KanaKeys, Utf8KanaBecomeTheKeysOfTheirShiftJisForms)
{
    // Every character, so that the two forms agree wherever the code page
    // puts a kana.
    std::size_t keys = 0;
    for (char32_t cp = 0x80; cp < 0x10000; ++cp) {
        if (cp >= 0xD800 && cp <= 0xDFFF)
            continue;
        const char16_t unit = static_cast<char16_t>(cp);
        const std::string sjisKey = ConvertKanaKeys(Utf16ToShiftJis(std::u16string_view(&unit, 1)));
        char bytes[4];
        const std::string text(bytes, utf8::Encode(cp, bytes));
        const bool isKey = sjisKey.size() == 1 && static_cast<unsigned char>(sjisKey[0]) < 0x80;
        keys += isKey ? 1 : 0;
        char out[4];
        ASSERT_EQ(std::string(out, ConvertUtf8KanaKeysTo(text, out)), isKey ? sjisKey : text)
            << std::hex << static_cast<unsigned>(cp);
        ASSERT_EQ(FirstConvertedUtf8Byte(text), isKey ? sjisKey[0] : text[0])
            << std::hex << static_cast<unsigned>(cp);
    }
    EXPECT_EQ(keys, 76u);
}
