// Lines of valid UTF-8 read as they stand: the check that a line is valid,
// and the URLs found against those of the line's Shift_JIS copy.
#include <gtest/gtest.h>

#include <random>

#include "RandomText.h"
#include "StepWidths.h"
#include "engine/ByteKernels.h"
#include "engine/Engine.h"
#include "engine/Utf8Scan.h"

namespace {

class TRecordingSink final : public TUrlSink {
public:
    void Add(std::string_view url) override { Urls.emplace_back(url); }
    std::vector<std::string> Urls;
};

bool DecodesWhole(std::string_view text)
{
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    for (std::size_t at = 0; at < text.size();) {
        char32_t cp;
        const int length = utf8::Decode(bytes + at, text.size() - at, cp);
        if (length <= 0)
            return false;
        at += static_cast<std::size_t>(length);
    }
    return true;
}

bool IsValid(const std::string& text)
{
    return kernels::IsValidUtf8(reinterpret_cast<const unsigned char*>(text.data()), text.size());
}

std::string Pick(std::mt19937& random, const std::vector<std::string>& pieces, int count)
{
    std::uniform_int_distribution<std::size_t> pick(0, pieces.size() - 1);
    std::string text;
    for (; count > 0; --count)
        text += pieces[pick(random)];
    return text;
}

}  // namespace

TEST(Utf8Lines, ValidityIsFoundAtEveryLengthAndPlace)
{
    // Sequences at the edges of what is valid, and faults of every kind.
    const std::vector<std::string> valid = {"a",
                                            "\x7F",
                                            "\xC2\x80",
                                            "\xDF\xBF",
                                            "\xE0\xA0\x80",
                                            "\xE3\x81\x91",
                                            "\xED\x9F\xBF",
                                            "\xEE\x80\x80",
                                            "\xEF\xBF\xBF",
                                            "\xF0\x90\x80\x80",
                                            "\xF4\x8F\xBF\xBF",
                                            std::string(1, '\0')};
    const std::vector<std::string> faulty = {"\x80",
                                             "\xBF",
                                             "\xC0\x80",
                                             "\xC1\xBF",
                                             "\xC2",
                                             "\xE0\x9F\xBF",
                                             "\xE3\x81",
                                             "\xED\xA0\x80",
                                             "\xF0\x8F\xBF\xBF",
                                             "\xF4\x90\x80\x80",
                                             "\xF5\x80\x80\x80",
                                             "\xF8",
                                             "\xFF",
                                             "\xE3\x81\x91\x80"};
    std::mt19937 random(41);
    std::uniform_int_distribution<int> count(0, 40), oneIn(0, 30);
    ForEachStepWidth([&] {
        std::size_t faults = 0;
        for (int trial = 0; trial < 20000; ++trial) {
            std::string text = Pick(random, valid, count(random));
            if (oneIn(random) == 0)
                text.insert(std::uniform_int_distribution<std::size_t>(0, text.size())(random),
                            Pick(random, faulty, 1));
            faults += DecodesWhole(text) ? 0 : 1;
            ASSERT_EQ(IsValid(text), DecodesWhole(text)) << ::testing::PrintToString(text);
        }
        EXPECT_GT(faults, 300u);
        // Past the points where the check looks for faults early.
        const std::string run(3000, 'x');
        for (const std::size_t at : {0u, 31u, 32u, 1023u, 1024u, 1056u, 2999u})
            for (const std::string& fault : faulty)
                ASSERT_FALSE(IsValid(std::string(run).insert(at, fault))) << at;
        EXPECT_TRUE(IsValid(run + "\xE3\x81\x91"));
    });
}

TEST(Utf8Lines, GiveTheUrlsOfTheirShiftJisCopyUnderEveryOption)
{
    const std::vector<std::string> pieces = {" ",
                                             "\"",
                                             "<",
                                             ">",
                                             "'",
                                             std::string(1, '\0'),
                                             ":",
                                             "/",
                                             ".",
                                             "-",
                                             "[",
                                             "]",
                                             "h",
                                             "w",
                                             "0",
                                             "http://",
                                             "HTTPS://",
                                             "ftp://",
                                             "rtsp://",
                                             "://",
                                             "www.",
                                             "ww.",
                                             "../",
                                             "[01-03]",
                                             "[$0A-$0C]",
                                             "\xE3\x81\x82",              // あ
                                             "\xE6\x97\xA5\xE6\x9C\xAC",  // 日本
                                             "\xE3\x81\x8F\xE3\x81\x8B\xE3\x81\x8B\xE3\x81\x9B\xE3\x81\x91"
                                             "\xE3\x82\x81\xE3\x82\x81",  // くかかせけめめ
                                             "\xE3\x81\x91",
                                             "\xE3\x82\x8B",
                                             "\xE3\x82\x81",
                                             "\xE3\x81\xA6",
                                             "\xE3\x81\xAF",  // け る め て は
                                             "\xE3\x83\x9B",
                                             "\xE3\x83\xBC",
                                             "\xE3\x82\x9B",  // ホ ー ゛
                                             "\xE3\x80\x9C",
                                             "\xE2\x88\x92",
                                             "\xC2\xAC",  // 〜 − ¬
                                             "\xEF\xBD\xB1",
                                             "\xEF\xBC\x9A",
                                             "\xE3\x80\x80",  // ｱ ： 全角空白
                                             "\xC2\x80",
                                             "\xC3\xA9",
                                             "\xF0\x9F\x98\x80",
                                             "\xED\x95\x9C",  // é 😀 한
                                             "tp://",
                                             "\xEF\xBB\xBF",
                                             "\xE3\x82\xAF"};  // a byte-order mark, ク
    std::mt19937 random(43);
    std::uniform_int_distribution<int> count(1, 30), bits(0, 255);
    ForEachStepWidth([&] {
        for (int trial = 0; trial < 6000; ++trial) {
            const std::string line = Pick(random, pieces, count(random));
            const TExtractOptions options = OptionsFromBits(bits(random));
            TRecordingSink asItStands, fromCopy;
            ExtractUrlsFromUtf8Line(line, options, asItStands);
            ExtractUrlsFromLine(Utf8ToShiftJis(line), options, fromCopy);
            ASSERT_EQ(asItStands.Urls, fromCopy.Urls) << ::testing::PrintToString(line);
        }
    });
}
