#include <gtest/gtest.h>

#include <random>

#include "ByteKernels.h"
#include "Engine.h"
#include "KanaKeys.h"
#include "RandomText.h"
#include "ReferenceEngine.h"
#include "StepWidths.h"

using reference::ToCp932;

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

TEST(KanaKeys, KanaTypedUrlBecomesLatin)
{
    EXPECT_EQ(ConvertKanaKeys(ToCp932("くかかせけめめ")), "http://");
    EXPECT_EQ(ConvertKanaKeys(ToCp932("あいう")), "3e4");
    EXPECT_EQ(ConvertKanaKeys("x" + ToCp932("みかか") + "y"), "xntty");
}

TEST(KanaKeys, OtherCharactersStay)
{
    const std::string untouched = ToCp932("ＡＢＣがガ漢字ｱｶｻぁ") + "abc";
    EXPECT_EQ(ConvertKanaKeys(untouched), untouched);
    EXPECT_EQ(ConvertKanaKeys(""), "");
    // The bytes of "て" behind a lead byte belong to another character.
    const std::string shifted = "\x88" + ToCp932("て");
    EXPECT_EQ(ConvertKanaKeys(shifted), "\x88\x82\xc4");
    EXPECT_EQ(ConvertKanaKeys("\x82"), "\x82");
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
    // least of all in a step's last bytes.
    std::mt19937 random(37);
    const unsigned char alphabet[] = {'/', '.', 0x82, 0xDF, 0xE9, 'a', 0x81};
    std::uniform_int_distribution<std::size_t> pick(0, std::size(alphabet) - 1);
    ForEachStepWidth([&] {
        for (int trial = 0; trial < 4000; ++trial) {
            std::string text;
            for (std::size_t n = static_cast<std::size_t>(trial % 80); n > 0; --n)
                text.push_back(static_cast<char>(alphabet[pick(random)]));
            const bool slash =
                text.find('/') != std::string::npos || text.find("\x82\xDF") != std::string::npos;
            const bool dot =
                text.find('.') != std::string::npos || text.find("\x82\xE9") != std::string::npos;
            ASSERT_EQ(kernels::MayConvertToSlashAndDot(reinterpret_cast<const unsigned char*>(text.data()),
                                                       text.size()),
                      slash && dot)
                << ::testing::PrintToString(text);
        }
    });
}
