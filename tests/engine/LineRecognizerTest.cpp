#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "Engine.h"
#include "RandomText.h"
#include "RecognizerScan.h"
#include "ReferenceEngine.h"
#include "StepWidths.h"

namespace {

using V = std::vector<std::string>;

V Extract(std::string_view line, const TExtractOptions& options = {})
{
    TUrlList list;
    ExtractUrlsFromLine(line, options, list);
    V urls;
    for (std::size_t i = 0; i < list.Count(); ++i)
        urls.push_back(list[i]);
    return urls;
}

TExtractOptions With(void (*set)(TExtractOptions&))
{
    TExtractOptions options;
    set(options);
    return options;
}

}  // namespace

TEST(LineRecognizer, SchemeSpacingSeparatesUrlsFromText)
{
    EXPECT_EQ(Extract(reference::ToCp932("見て→http://host/x.zip")), (V{"http://host/x.zip"}));
    EXPECT_EQ(Extract("HTTP://HOST"), (V{"http://HOST"}));
    EXPECT_EQ(Extract("a<a href=\"http://e.jp/x\">http://e.jp/y</a>"), (V{"http://e.jp/x", "http://e.jp/y"}));
    EXPECT_EQ(Extract("text,http://a.jp/.http://b.jp/"), (V{"http://a.jp/.", "http://b.jp/"}));
    EXPECT_EQ(Extract("http://"), (V{"http://"}));
    EXPECT_EQ(Extract(""), V{});
    EXPECT_EQ(Extract(" <>'\"  "), V{});
}

TEST(LineRecognizer, AllRuleTurnsEverySchemeIntoHttp)
{
    const auto allOff = With([](TExtractOptions& o) { o.ALL = false; });
    EXPECT_EQ(Extract("https://h/"), (V{"http://h/"}));
    EXPECT_EQ(Extract("https://h/", allOff), (V{"https://h/"}));
    EXPECT_EQ(Extract("ttp://host/"), (V{"http://host/"}));
    EXPECT_EQ(Extract("ttp://host/", allOff), V{});
    EXPECT_EQ(Extract("ftp://f/ mms://m/ rtsp://r/", allOff), (V{"ftp://f/", "mms://m/", "rtsp://r/"}));
    EXPECT_EQ(Extract("x://y"), (V{"http://y"}));
}

TEST(LineRecognizer, SchemeStartingOnASecondByteGetsNoSpace)
{
    const auto allOff = With([](TExtractOptions& o) { o.ALL = false; });
    EXPECT_EQ(Extract("\x81http://h/", allOff), V{});
    EXPECT_EQ(Extract("\x81\x81http://h/", allOff), (V{"http://h/"}));
}

TEST(LineRecognizer, WwwAndMemoCodeRules)
{
    EXPECT_EQ(Extract("see www.host.jp/"), (V{"http://www.host.jp/"}));
    EXPECT_EQ(Extract("WWW.HOST.JP"), V{});
    EXPECT_EQ(Extract("www.h", With([](TExtractOptions& o) { o.WWW = false; })), V{});
    EXPECT_EQ(Extract("ww.h"), V{});
    const auto code = With([](TExtractOptions& o) { o.MEMO = "KKK"; });
    EXPECT_EQ(Extract("ww.h www.i", code), (V{"http://www.h", "http://www.i"}));
    EXPECT_EQ(Extract("ww.h", With([](TExtractOptions& o) { o.MEMO = "KKK "; })), V{});
}

TEST(LineRecognizer, PathRulesInTheirOrder)
{
    const auto rules = With([](TExtractOptions& o) { o.RULE1 = o.RULE2 = o.RULE3 = true; });
    EXPECT_EQ(Extract("a/b.c a.b x../y /root ../up", rules), (V{"a/b.c", "../y", "/root", "../up"}));
    EXPECT_EQ(Extract("a/b.c /r ../u", With([](TExtractOptions& o) { o.RULE3 = true; })),
              (V{"a/b.c", "../u"}));
    EXPECT_EQ(Extract("../u", With([](TExtractOptions& o) { o.RULE2 = true; })), V{});
    // A "/" right after a lead byte is its second byte: the field holds no slash.
    EXPECT_EQ(Extract("\x81/a.b", With([](TExtractOptions& o) { o.RULE3 = true; })), V{});
}

TEST(LineRecognizer, KanaConversionRunsAfterSchemeSpacing)
{
    const auto ntt = With([](TExtractOptions& o) {
        o.NTT = true;
        o.ALL = false;
    });
    const std::string kanaUrl = reference::ToCp932("くかかせけめめ") + "h/";
    EXPECT_EQ(Extract(kanaUrl, ntt), (V{"http://h/"}));
    EXPECT_EQ(Extract("x" + kanaUrl, ntt), V{});
    EXPECT_EQ(Extract(kanaUrl), V{});
}

TEST(LineRecognizer, RangesAreExpandedInFieldOrder)
{
    const auto ranges = With([](TExtractOptions& o) { o.EXTRACTION = true; });
    EXPECT_EQ(Extract("http://a/[1-2] www.b/[3-4]", ranges),
              (V{"http://a/1", "http://a/2", "http://www.b/3", "http://www.b/4"}));
}

TExtractOptions FromBits(int b)
{
    TExtractOptions options;
    options.WWW = b & 1;
    options.ALL = b & 2;
    options.NTT = b & 4;
    options.RULE1 = b & 8;
    options.RULE2 = b & 16;
    options.RULE3 = b & 32;
    options.EXTRACTION = b & 64;
    options.MEMO = (b & 128) ? "KKK" : "";
    return options;
}

TEST(LineRecognizer, CraftedLinesMatchTheLiteralSteps)
{
    const std::string lines[] = {
        // A quote that is a second byte opens a quoted field running over
        // the inserted schemes, so the line must be split as spaced.
        "\x81\"http://a/ b\"http://c/",
        "ab\x81\"HTTP://x y://z\" ../w ww.v",
        "\x81\x81\"http://a/\" \x82\"x\x81\"",
        "p\x95\"rtsp://q\"\x95\"\"http://r/",
        // www fields start only after a delimiter that is not a second byte.
        std::string("www.a x.www.b \x81 www.c \x81\x81 www.d awww.e ww.f www.ww.g \0www.h", 58),
        "http://www.a/ ww.b://www.c ../www.d <www.e>'ww.f'\"www.g\"",
        "xhttp://a wwww.b :// www.c ..//www.d",
    };
    for (const std::string& line : lines)
        for (int b = 0; b < 256; ++b) {
            const TExtractOptions options = FromBits(b);
            TUrlList fast, slow;
            ExtractUrlsFromLine(line, options, fast);
            reference::ExtractUrlsFromLine(line, options, slow);
            ASSERT_EQ(fast.Count(), slow.Count())
                << "options " << b << " line " << ::testing::PrintToString(line);
            for (std::size_t i = 0; i < fast.Count(); ++i)
                ASSERT_EQ(fast[i], slow[i]);
        }
}

TEST(LineRecognizer, LineMasksMarkEveryDelimiterColonAndDot)
{
    // Every length around the step widths and the 64-byte words, so that
    // the steps' last, overlapping block is checked.
    std::mt19937 random(23);
    const char alphabet[] = " \"<>'\0:.a\x82/";
    std::uniform_int_distribution<std::size_t> pick(0, sizeof alphabet - 2);
    ForEachStepWidth([&] {
        for (std::size_t length = 0; length <= 200; ++length) {
            std::string text;
            for (std::size_t i = 0; i < length; ++i)
                text.push_back(alphabet[pick(random)]);
            recognizer::TLineMasks masks;
            masks.Compute(text);
            auto found = [&](auto next) {
                std::vector<std::size_t> at;
                for (std::size_t p = next(0); p < length; p = next(p + 1))
                    at.push_back(p);
                return at;
            };
            auto wanted = [&](auto test) {
                std::vector<std::size_t> at;
                for (std::size_t i = 0; i < length; ++i)
                    if (test(static_cast<unsigned char>(text[i])))
                        at.push_back(i);
                return at;
            };
            ASSERT_EQ(found([&](std::size_t p) { return masks.NextSpecial(p); }),
                      wanted(recognizer::IsSpecial))
                << length;
            ASSERT_EQ(found([&](std::size_t p) { return masks.NextColon(p); }),
                      wanted([](unsigned char c) { return c == ':'; }));
            ASSERT_EQ(found([&](std::size_t p) { return masks.NextDot(p); }),
                      wanted([](unsigned char c) { return c == '.'; }));
            ASSERT_EQ(found([&](std::size_t p) { return masks.NextColonOrDot(p); }),
                      wanted([](unsigned char c) { return c == ':' || c == '.'; }));
            ASSERT_EQ(masks.HasQuote(), text.find('"') != std::string::npos) << length;
        }
    });
}

TEST(LineRecognizer, MatchesTheLiteralStepsOnRandomLines)
{
    std::mt19937 random(17);
    std::uniform_int_distribution<int> bits(0, 255);
    ForEachStepWidth([&] {
        for (int trial = 0; trial < 6000; ++trial) {
            const std::string line = RandomText(random, 30);
            const int b = bits(random);
            const TExtractOptions options = FromBits(b);
            TUrlList fast, slow;
            ExtractUrlsFromLine(line, options, fast);
            reference::ExtractUrlsFromLine(line, options, slow);
            ASSERT_EQ(fast.Count(), slow.Count())
                << "options " << b << " line " << ::testing::PrintToString(line);
            for (std::size_t i = 0; i < fast.Count(); ++i)
                ASSERT_EQ(fast[i], slow[i]);
        }
    });
}

TEST(LineRecognizer, PathologicalLongLinesStayLinear)
{
    // Quadratic work on any of these would take minutes rather than milliseconds.
    TExtractOptions all;
    all.NTT = all.RULE1 = all.RULE2 = all.RULE3 = all.EXTRACTION = true;
    std::string dots, schemes, leads;
    for (int i = 0; i < 500000; ++i)
        dots += "a.";
    for (int i = 0; i < 200000; ++i)
        schemes += "x://";
    leads = std::string(2000000, '\x81') + " http://x/ " + std::string(1000001, '\x81') + " y";
    TUrlList list;
    ExtractUrlsFromLine(dots, all, list);
    EXPECT_EQ(list.Count(), 0u);
    ExtractUrlsFromLine(schemes, all, list);
    EXPECT_EQ(list.Count(), 200000u);
    list.Clear();
    ExtractUrlsFromLine(leads, TExtractOptions{}, list);
    EXPECT_EQ(list.Count(), 1u);
}
