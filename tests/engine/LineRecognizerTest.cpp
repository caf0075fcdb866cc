#include <gtest/gtest.h>

#include <ostream>
#include <random>
#include <vector>

#include "RandomText.h"
#include "ReferenceEngine.h"
#include "StepWidths.h"
#include "engine/Engine.h"
#include "engine/RecognizerScan.h"

using reference::ToCp932;

namespace {

using V = std::vector<std::string>;

V Extract(std::string_view line, const TExtractOptions& options)
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

struct TRecognizerCase {
    const char* Name;
    std::string Line;
    TExtractOptions Options;
    V Expected;
};

// A failing row is reported by its name rather than as a dump of its bytes.
void PrintTo(const TRecognizerCase& row, std::ostream* out)
{
    *out << row.Name;
}

// Built when the tests are registered, not during static initialization:
// the CP932 conversion lives in another translation unit.
std::vector<TRecognizerCase> RecognizerCases()
{
    const TExtractOptions defaults;
    const auto allOff = With([](TExtractOptions& o) { o.SchemeRule = false; });
    const auto wwwOff = With([](TExtractOptions& o) { o.WwwRule = false; });
    const auto memoCode = With([](TExtractOptions& o) { o.MemoLine = "KKK"; });
    const auto memoCodeAndSpace = With([](TExtractOptions& o) { o.MemoLine = "KKK "; });
    const auto allPathRules =
        With([](TExtractOptions& o) { o.ParentPathRule = o.RootPathRule = o.SlashDotRule = true; });
    const auto rule2 = With([](TExtractOptions& o) { o.RootPathRule = true; });
    const auto rule3 = With([](TExtractOptions& o) { o.SlashDotRule = true; });
    const auto kanaAllOff = With([](TExtractOptions& o) {
        o.KanaConversion = true;
        o.SchemeRule = false;
    });
    const auto ranges = With([](TExtractOptions& o) { o.RangeExpansion = true; });
    const std::string kanaUrl = ToCp932("くかかせけめめ") + "h/";
    return {
        // Scheme spacing separates URLs from the text around them.
        {"JapaneseTextBeforeSchemeIsSplitOff",
         ToCp932("見て→http://host/x.zip"),
         defaults,
         {"http://host/x.zip"}},
        {"UpperCaseSchemeIsLowered", "HTTP://HOST", defaults, {"http://HOST"}},
        {"AnchorYieldsHrefAndLinkText",
         "a<a href=\"http://e.jp/x\">http://e.jp/y</a>",
         defaults,
         {"http://e.jp/x", "http://e.jp/y"}},
        {"GluedUrlsSplitAndKeepTrailingDot",
         "text,http://a.jp/.http://b.jp/",
         defaults,
         {"http://a.jp/.", "http://b.jp/"}},
        {"BareSchemeIsAUrl", "http://", defaults, {"http://"}},
        {"EmptyLine", "", defaults, {}},
        {"DelimitersOnly", " <>'\"  ", defaults, {}},
        // ALL reads every "://" as the start of an http URL.
        {"AllTurnsHttpsIntoHttp", "https://h/", defaults, {"http://h/"}},
        {"HttpsKeptWithAllOff", "https://h/", allOff, {"https://h/"}},
        {"AllCompletesTtpToHttp", "ttp://host/", defaults, {"http://host/"}},
        {"TtpIgnoredWithAllOff", "ttp://host/", allOff, {}},
        {"OtherSchemesKeptWithAllOff",
         "ftp://f/ mms://m/ rtsp://r/",
         allOff,
         {"ftp://f/", "mms://m/", "rtsp://r/"}},
        {"AllReadsAnyColonSlashSlashAsHttp", "x://y", defaults, {"http://y"}},
        // A scheme whose "h" is the second byte of a character gets no space.
        {"SchemeOnASecondByteStaysGlued", "\x81http://h/", allOff, {}},
        {"SchemeAfterAWholeCharacterIsSpaced", "\x81\x81http://h/", allOff, {"http://h/"}},
        // The "www." rule and the memo code's "ww." rule.
        {"WwwGetsHttpInFront", "see www.host.jp/", defaults, {"http://www.host.jp/"}},
        {"WwwIsCaseSensitive", "WWW.HOST.JP", defaults, {}},
        {"WwwIgnoredWithWwwOff", "www.h", wwwOff, {}},
        {"WwIgnoredWithoutMemoCode", "ww.h", defaults, {}},
        {"WwAcceptedWithMemoCode", "ww.h www.i", memoCode, {"http://www.h", "http://www.i"}},
        {"MemoCodeMustMatchExactly", "ww.h", memoCodeAndSpace, {}},
        // The path rules, tried in their order.
        {"AllPathRulesInFieldOrder",
         "a/b.c a.b x../y /root ../up",
         allPathRules,
         {"a/b.c", "../y", "/root", "../up"}},
        {"Rule3NeedsSlashAndDot", "a/b.c /r ../u", rule3, {"a/b.c", "../u"}},
        {"Rule2NeedsLeadingSlash", "../u", rule2, {}},
        // A "/" right after a lead byte is its second byte: the field holds no slash.
        {"SlashAsSecondByteIsNoSlash", "\x81/a.b", rule3, {}},
        // Kana conversion runs after scheme spacing.
        {"KanaTypedUrlAloneIsConverted", kanaUrl, kanaAllOff, {"http://h/"}},
        {"KanaSchemeGluedToTextGetsNoSpace", "x" + kanaUrl, kanaAllOff, {}},
        {"KanaLeftAloneWithNttOff", kanaUrl, defaults, {}},
        {"RangesExpandedInFieldOrder",
         "http://a/[1-2] www.b/[3-4]",
         ranges,
         {"http://a/1", "http://a/2", "http://www.b/3", "http://www.b/4"}},
    };
}

class LineRecognizerRows : public testing::TestWithParam<TRecognizerCase> { };

// The recognizer and the literal steps agree on the line under the options
// that the bits b stand for.
void ExpectSameAsLiteralSteps(const std::string& line, int b)
{
    const TExtractOptions options = OptionsFromBits(b);
    TUrlList fast, slow;
    ExtractUrlsFromLine(line, options, fast);
    reference::ExtractUrlsFromLine(line, options, slow);
    ASSERT_EQ(fast.Count(), slow.Count()) << "options " << b << " line " << ::testing::PrintToString(line);
    for (std::size_t i = 0; i < fast.Count(); ++i)
        ASSERT_EQ(fast[i], slow[i]);
}

}  // namespace

TEST_P(LineRecognizerRows, Extracts)
{
    EXPECT_EQ(Extract(GetParam().Line, GetParam().Options), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(Table, LineRecognizerRows, testing::ValuesIn(RecognizerCases()),
                         [](const auto& row) { return std::string(row.param.Name); });

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
            ASSERT_NO_FATAL_FAILURE(ExpectSameAsLiteralSteps(line, b));
        }
}

TEST(LineRecognizer, LineMasksMarkEveryDelimiterColonAndDot)
{
    // Every length around the step widths and the 64-byte words, so that
    // the steps' last, overlapping block is checked, and "ww." across them.
    std::mt19937 random(23);
    const char alphabet[] = " \"<>'\0:.a\x82/ww";
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
            std::vector<std::size_t> wws;
            for (std::size_t p = text.find("ww."); p != std::string::npos; p = text.find("ww.", p + 1))
                wws.push_back(p);
            ASSERT_EQ(found([&](std::size_t p) { return masks.NextWw(p); }), wws) << length;
            ASSERT_EQ(masks.HasQuote(), text.find('"') != std::string::npos) << length;
        }
        // A "ww." whose "w" bytes end the word before its dot.
        for (const std::size_t at : {61u, 62u, 63u, 64u, 126u, 127u}) {
            std::string text(200, 'a');
            text.replace(at, 3, "ww.");
            recognizer::TLineMasks masks;
            masks.Compute(text);
            EXPECT_EQ(masks.NextWw(0), at);
            EXPECT_EQ(masks.NextWw(at + 1), std::string::npos);
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
            ASSERT_NO_FATAL_FAILURE(ExpectSameAsLiteralSteps(line, b));
        }
    });
}

TEST(LineRecognizer, PathologicalLongLinesStayLinear)
{
    // Quadratic work on any of these would take minutes rather than milliseconds.
    TExtractOptions all;
    all.KanaConversion = all.ParentPathRule = all.RootPathRule = all.SlashDotRule = all.RangeExpansion = true;
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
