#include <gtest/gtest.h>

#include <random>

#include "Engine.h"
#include "RandomText.h"
#include "ReferenceEngine.h"

using reference::ToCp932;

TEST(KanaKeys, EveryEntryOfTheTableConverts)
{
    const char* hiragana[] = {"ぬ", "ふ", "あ", "う", "え", "お", "や", "ゆ", "よ", "わ", "ほ", "へ", "ー",
                              "た", "て", "い", "す", "か", "ん", "な", "に", "ら", "せ", "゛", "゜",
                              "ち", "と", "し", "は", "き", "く", "ま", "の", "り", "れ", "け", "む",
                              "つ", "さ", "そ", "ひ", "こ", "み", "も", "ね", "る", "め", "ろ"};
    const std::string hiraganaKeys = "1234567890-~|qwertyuiop@[asdfghjkl;:]zxcvbnm,./_";
    const char* katakana[] = {"ホ", "ヘ", "タ", "テ", "イ", "ス", "カ", "ン", "ナ", "ニ", "ラ", "セ", "チ", "ト",
                              "シ", "ハ", "キ", "ク", "マ", "ノ", "リ", "ツ", "サ", "ソ", "ヒ", "コ", "ミ", "モ"};
    const std::string katakanaKeys = "=^QWERTYUIOPASDFGHJKLZXCVBNM";
    ASSERT_EQ(std::size(hiragana) + std::size(katakana), 76u);
    std::string all;
    for (const char* kana : hiragana) all += ToCp932(kana);
    for (const char* kana : katakana) all += ToCp932(kana);
    EXPECT_EQ(ConvertKanaKeys(all), hiraganaKeys + katakanaKeys);
    for (std::size_t i = 0; i < std::size(hiragana); ++i)
        EXPECT_EQ(ConvertKanaKeys(ToCp932(hiragana[i])), std::string(1, hiraganaKeys[i])) << hiragana[i];
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
