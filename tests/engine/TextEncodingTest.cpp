// UTF-8 input against its Shift_JIS copy: the same URLs from either.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>

#include <unistd.h>

#include "RandomText.h"
#include "StepWidths.h"
#include "engine/Engine.h"
#include "engine/Utf8Scan.h"

namespace {

namespace fs = std::filesystem;

class TRecordingSink final : public TUrlSink {
public:
    void Add(std::string_view url) override { Urls.emplace_back(url); }
    std::vector<std::string> Urls;
};

class EncodedFiles : public ::testing::Test {
protected:
    void SetUp() override
    {
        FFolder = fs::temp_directory_path() / ("linkrake-encoding-" + std::to_string(::getpid()));
        fs::create_directories(FFolder);
    }
    void TearDown() override { fs::remove_all(FFolder); }

    std::string Write(const std::string& name, const std::string& bytes)
    {
        const std::string path = (FFolder / name).string();
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }

    static std::vector<std::string> Urls(const std::string& path, const TExtractOptions& options,
                                         const TFileSplit* split = nullptr, TTextEncoding* decided = nullptr)
    {
        TRecordingSink sink;
        if (split)
            ExtractFromFile(path, options, sink, *split);
        else
            ExtractFromFile(path, options, sink);
        if (decided)
            *decided = sink.InputEncoding;
        return sink.Urls;
    }

    fs::path FFolder;
};

TExtractOptions SchemeRuleOff()
{
    TExtractOptions options;
    options.SchemeRule = false;
    return options;
}

TFileSplit Pieces(std::size_t bytes)
{
    TFileSplit split;
    split.PieceBytes = bytes;
    split.SmallestFile = 0;
    return split;
}

const std::string Emoji = "\xF0\x9F\x98\x80";  // 😀
const std::string Hangul = "\xED\x95\x9C";     // 한
const std::string Utf8Bom = "\xEF\xBB\xBF";

// Pieces of text whose random joins meet every rule in both encodings.
const char* const JapanesePieces[] = {
    " ",
    "\"",
    "<",
    ">",
    "'",
    "\n",
    "\r\n",
    "\r",
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
    "://",
    "www.",
    "ww.",
    "../",
    "[01-03]",
    "[8-11]",
    "\xE3\x81\x82",              // あ
    "\xE6\x97\xA5\xE6\x9C\xAC",  // 日本
    "\xEF\xBC\x88",
    "\xEF\xBC\x89",
    "\xE3\x80\x8C",
    "\xE3\x80\x8D",  // （）「」
    "\xE2\x86\x92",
    "\xE3\x83\xBB",
    "\xEF\xBC\x9A",
    "\xE3\x80\x80",  // →・：全角空白
    "\xE3\x83\xBC",
    "\xEF\xBD\xB1",                                                                          // ー ｱ
    "\xE3\x81\x8F\xE3\x81\x8B\xE3\x81\x8B\xE3\x81\x9B\xE3\x81\x91\xE3\x82\x81\xE3\x82\x81",  // くかかせけめめ
    "\xE3\x82\x8B",
    "\xE3\x83\x9B",
    "\xE3\x80\x9C",
    "\xE2\x88\x92",  // る ホ 〜 −
    "\xF0\x9F\x8D\xA3",
    "\xED\x95\x9C",  // 🍣 한
};

}  // namespace

TEST(EncodingDecision, BytesDecideOnceEnoughAreThere)
{
    const std::string evidence(Utf8EvidenceBytes, 'a');
    struct TCase {
        std::string Bytes;
        bool Whole;
        std::optional<TTextEncoding> Expected;
    } const cases[] = {
        {"", true, TTextEncoding::ShiftJis},
        {"plain ascii", false, std::nullopt},
        {"plain ascii", true, TTextEncoding::ShiftJis},
        {Utf8Bom + "\x82\xa0", false, TTextEncoding::Utf8},  // the mark wins
        {"\xEF\xBB", false, std::nullopt},
        {"\xEF\xBB", true, TTextEncoding::ShiftJis},
        {"abc\xE3\x81\x82", true, TTextEncoding::Utf8},
        {"abc\xE3\x81\x82", false, std::nullopt},
        {"abc\xE3\x81", false, std::nullopt},
        {"abc\xE3\x81", true, TTextEncoding::ShiftJis},
        {"\x82\xa0\xE3\x81\x82", false, TTextEncoding::ShiftJis},
        {"\xC3\xB1\x93\xFA", false, TTextEncoding::ShiftJis},  // ﾃｱ reads as UTF-8 for two bytes
        {"\xC0\xAF", true, TTextEncoding::ShiftJis},           // overlong
        {"\xED\xA0\x80", true, TTextEncoding::ShiftJis},       // surrogate
        {"\xE3\x81\x82" + evidence, false, TTextEncoding::Utf8},
        {"\xE3\x81\x82" + evidence + "\x82\xa0", true, TTextEncoding::Utf8},  // past the bound
        {"\xE3\x81\x82" + evidence.substr(4) + "\x82\xa0", true, TTextEncoding::ShiftJis},
        // A character across the bound counts whole; a byte after it does not.
        {"\xE3\x81\x82" + evidence.substr(4) + "\xC3\xB1\x80", false, TTextEncoding::Utf8},
        {"\xE3\x81\x82" + evidence.substr(4) + "\xE3\x81" + "a", false, TTextEncoding::ShiftJis},
        // A UTF-16 mark decides for the whole input; the UTF-32 one begins with it.
        {"\xFF\xFEh\0", false, TTextEncoding::Utf16Le},
        {"\xFE\xFF\0h", false, TTextEncoding::Utf16Be},
        {"\xFE\xFF", true, TTextEncoding::Utf16Be},
        {"\xFF\xFE", false, std::nullopt},
        {"\xFF\xFE\0", true, TTextEncoding::Utf16Le},
    };
    for (const TCase& c : cases)
        EXPECT_EQ(DecideEncoding(c.Bytes, c.Whole), c.Expected)
            << c.Bytes.substr(0, 16) << " whole " << c.Whole;
    EXPECT_EQ(DecideEncoding(Utf8Bom + "\x82\xa0", true, false), TTextEncoding::ShiftJis);
    EXPECT_THROW(DecideEncoding(std::string("\xFF\xFE\0\0h\0\0\0", 8), false), EUnsupportedEncoding);
}

TEST(ShiftJisCodec, WhatDoesNotFitIsPercentEncodedAndDuplicatesTakeTheSystemsCode)
{
    const struct {
        std::string Utf8;
        std::string ShiftJis;
    } cases[] = {
        {"a\xC3\xA9" + Emoji
             + "b\xE8\xA1\xA8"
               "c",
         "a%C3%A9%F0%9F%98%80b\x95\x5c"
         "c"},                                     // aé😀b表c
        {"\xEF\xBD\xB1\xEF\xBE\x9F", "\xB1\xDF"},  // ｱﾟ
        // Look-alikes of the code page's ～∥－―￠￡￢ that input methods type: a
        // character fits only when it comes back as itself.
        {"\xE3\x80\x9C\xE2\x80\x96\xE2\x88\x92\xE2\x80\x94\xC2\xA2\xC2\xA3\xC2\xAC",  // 〜‖−—¢£¬
         "%E3%80%9C%E2%80%96%E2%88%92%E2%80%94%C2%A2%C2%A3%C2%AC"},
        {"\xEF\xBD\x9E\xE2\x88\xA5\xEF\xBC\x8D\xE2\x80\x95\xEF\xBF\xA0\xEF\xBF\xA1",  // ～∥－―￠￡
         "\x81\x60\x81\x61\x81\x7C\x81\x5C\x81\x91\x81\x92"},
        {"\xE2\x89\x92\xE2\x85\xB0\xE2\x85\xA0\xEF\xBF\xA2\xE2\x88\xB5",  // ≒ⅰⅠ￢∵
         "\x81\xE0\xFA\x40\x87\x54\x81\xCA\x81\xE6"},
        {"\xEE\x80\x80", "\xF0\x40"},  // the private-use area
        {"\xC2\xA5\x7E", "%C2%A5~"},   // ¥ is no backslash
        // Not UTF-8: Shift_JIS bytes, a lead byte with its second byte.
        {"\x93\xFA\x96\x7B\xE3\x81\x82\xFF", "\x93\xFA\x96\x7B\x82\xA0\xFF"},
        {"\x88\xE3\x81\x82", "\x88\xE3\x81\x82"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Utf8ToShiftJis(c.Utf8), c.ShiftJis) << c.Utf8;
    EXPECT_EQ(Utf16ToShiftJis(u"x\xD800y"), "x%EF%BF%BDy");  // a lone surrogate
    EXPECT_EQ(ShiftJisToUtf8("\x81\x60\x85\x40\x95"), "\xEF\xBD\x9E\xEF\xBF\xBD\xEF\xBF\xBD");
    EXPECT_FALSE(FitsShiftJis(u"\U0001F600"));
    EXPECT_TRUE(FitsShiftJis(u"\x8868\xFF5E"));
    EXPECT_FALSE(FitsShiftJis(u"\x8868\x301C"));
}

TEST(ShiftJisCodec, EveryDoubleByteCharacterComesBackTheSame)
{
    int defined = 0;
    for (int lead = 0x81; lead <= 0xFC; ++lead) {
        for (int trail = 0x40; trail <= 0xFC; ++trail) {
            const std::string pair{static_cast<char>(lead), static_cast<char>(trail)};
            const std::u16string text = ShiftJisToUtf16(pair);
            if (!IsLeadByteValue(static_cast<unsigned char>(lead)) || trail == 0x7F || text == u"\xFFFD")
                continue;
            ++defined;
            ASSERT_EQ(text.size(), 1u);
            ASSERT_TRUE(FitsShiftJis(text));
            ASSERT_EQ(ShiftJisToUtf16(Utf16ToShiftJis(text)), text) << std::hex << lead << trail;
        }
    }
    EXPECT_EQ(defined, 7724 + 1880);  // the code page's pairs, then the private-use area
}

TEST(ShiftJisCodec, RoundTripTestAgreesWithTheRoundTripForEveryCharacter)
{
    // A URL said to round-trip goes out unconverted: one wrongly said to
    // would change the output. Each character between ASCII, and cut short.
    for (char32_t cp = 1; cp < 0x10400; ++cp) {
        if (cp >= 0xD800 && cp <= 0xDFFF)
            continue;
        char bytes[4];
        const std::string character(bytes, utf8::Encode(cp, bytes));
        const std::string text = "a" + character + "b";
        ASSERT_EQ(RoundTripsThroughShiftJis(text), ShiftJisToUtf8(Utf8ToShiftJis(text)) == text)
            << std::hex << static_cast<unsigned>(cp);
        if (character.size() > 1) {
            ASSERT_FALSE(RoundTripsThroughShiftJis("a" + character.substr(0, character.size() - 1)));
        }
    }
}

TEST_F(EncodedFiles, Utf8LinesGiveTheUrlsOfTheirShiftJisCopy)
{
    const std::string longHead = std::string(100000, 'a') + "\n";
    const struct {
        std::string Utf8;
        TExtractOptions Options;
        std::vector<std::string> Expected;  // Shift_JIS bytes; empty: only compared with the copy
    } cases[] = {
        // Full-width brackets and punctuation glued before a URL.
        {"\xEF\xBC\x88https://a.jp/x \xE3\x80\x8Chttps://b.jp/ \xEF\xBC\x9Ahttps://c.jp/ "
         "\xE2\x86\x92https://d.jp/"
         " \xE3\x83\xBBhttps://e.jp/",
         SchemeRuleOff(),
         {"https://a.jp/x", "https://b.jp/", "https://c.jp/", "https://d.jp/", "https://e.jp/"}},
        // Japanese after a URL stays part of it; Japanese in the path too.
        {"https://ja.wikipedia.org/wiki/\xE6\x97\xA5\xE6\x9C\xAC\xE3\x80\x8D\xE3\x81\xA8",
         SchemeRuleOff(),
         {"https://ja.wikipedia.org/wiki/\x93\xFA\x96\x7B\x81\x76\x82\xC6"}},
        {Utf8Bom + "https://a/\n", SchemeRuleOff(), {"https://a/"}},
        {"\xE8\xA6\x8B http://a/" + Emoji + Hangul + "?q=" + Emoji,
         {},
         {"http://a/%F0%9F%98%80%ED%95%9C?q=%F0%9F%98%80"}},
        {longHead + "\xE8\xA6\x8B\xE3\x81\xA6http://late/\xE6\x97\xA5", {}, {"http://late/\x93\xFA"}},
        // Read as UTF-8 for two bytes only: a Shift_JIS file.
        {"\xC3\xB1 http://s/\x93\xFA\n", {}, {"http://s/\x93\xFA"}},
        {"\xE6\x97\xA5 http://a/\r\nhttp://b/\xE6\x97\xA5\r\n\x1ahttp://c/\n",
         {},
         {"http://a/", "http://b/\x93\xFA"}},
        {"\xE3\x80\x9Chttp://w/\xE3\x80\x9C\xE2\x80\x94\xE2\x88\x92",
         {},
         {"http://w/%E3%80%9C%E2%80%94%E2%88%92"}},
        // Typed in kana mode: the kana are converted as Shift_JIS text.
        {"\xE3\x81\x8F\xE3\x81\x8B\xE3\x81\x8B\xE3\x81\x9B\xE3\x81\x91\xE3\x82\x81\xE3\x82\x81x/",
         [] {
             TExtractOptions kana;
             kana.KanaConversion = true;
             return kana;
         }(),
         {"http://x/"}},
        // Typed in kana mode after a dot: る and め make "../".
        {".\xE3\x82\x8B\xE3\x82\x81x \xE3\x81\x82",
         [] {
             TExtractOptions kanaParents;
             kanaParents.KanaConversion = true;
             kanaParents.ParentPathRule = true;
             return kanaParents;
         }(),
         {"../x"}},
    };
    for (const auto& c : cases) {
        const std::string copy = Utf8ToShiftJis(c.Utf8.substr(0, 3) == Utf8Bom ? c.Utf8.substr(3) : c.Utf8);
        const std::vector<std::string> fromCopy = Urls(Write("sjis.txt", copy), c.Options);
        TTextEncoding decided;
        const std::string utf8Path = Write("utf8.txt", c.Utf8);
        EXPECT_EQ(Urls(utf8Path, c.Options, nullptr, &decided), fromCopy) << c.Utf8.substr(0, 40);
        if (!c.Expected.empty()) {
            EXPECT_EQ(fromCopy, c.Expected) << c.Utf8.substr(0, 40);
        }
        const TFileSplit split = Pieces(7);
        EXPECT_EQ(Urls(utf8Path, c.Options, &split), fromCopy) << c.Utf8.substr(0, 40);
    }
}

// Line feeds inside characters (上 is 0A 4E, Ċ is 0A 01 in little-endian
// order) cut no line; broken input becomes U+FFFD, percent-encoded.
TEST_F(EncodedFiles, Utf16FilesAreConvertedWholeBeforeTheirLinesAreCut)
{
    const std::u16string text = u"見て http://a.jp/上〜\r\nhttp://b.jp/Ċ\U0001F600\n http://c.jp/\xD800x\n";
    const std::string copy =
        Utf8ToShiftJis("\xE8\xA6\x8B\xE3\x81\xA6 http://a.jp/\xE4\xB8\x8A\xE3\x80\x9C\r\nhttp://b.jp/\xC4\x8A"
                       + Emoji + "\n http://c.jp/\xEF\xBF\xBDx\n");
    const auto bytesOf = [&](bool bigEndian) {
        std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
        for (const char16_t unit : text) {
            const char high = static_cast<char>(unit >> 8), low = static_cast<char>(unit & 0xFF);
            bytes += bigEndian ? std::string{high, low} : std::string{low, high};
        }
        return bytes;
    };
    const TFileSplit split = Pieces(5);
    for (const bool bigEndian : {false, true}) {
        const TExtractOptions options = OptionsFromBits(bigEndian ? 0xFF : 0);
        const std::vector<std::string> expected = Urls(Write("copy.txt", copy), options);
        ASSERT_EQ(expected.size(), 3u);
        const std::string path = Write("utf16.txt", bytesOf(bigEndian));
        TTextEncoding decided;
        EXPECT_EQ(Urls(path, options, nullptr, &decided), expected) << bigEndian;
        EXPECT_EQ(decided, bigEndian ? TTextEncoding::Utf16Be : TTextEncoding::Utf16Le);
        EXPECT_EQ(Urls(path, options, &split), expected) << bigEndian;
        std::vector<std::string> lines;
        ReadTextLinesAsShiftJis(path, [&](std::string_view line) { lines.emplace_back(line); });
        EXPECT_EQ(lines.size(), 3u);
        EXPECT_EQ(WholeTextAsShiftJis(bytesOf(bigEndian), TTextEncoding::Auto), copy);
    }
    // An odd last byte; a forced encoding wins over the mark.
    EXPECT_EQ(WholeTextAsShiftJis(std::string("\xFF\xFEh\0t\0\0", 7), TTextEncoding::Auto), "ht%EF%BF%BD");
    EXPECT_EQ(WholeTextAsShiftJis("\xFF\xFEh", TTextEncoding::ShiftJis), "\xFF\xFEh");
    const std::string utf32 = Write("utf32.txt", std::string("\xFF\xFE\0\0h\0\0\0", 8));
    for (const TFileSplit* pieces : {static_cast<const TFileSplit*>(nullptr), &split}) {
        try {
            Urls(utf32, {}, pieces);
            ADD_FAILURE() << "UTF-32 taken";
        } catch (const EInOutError& refusal) {
            EXPECT_NE(std::string(refusal.what()).find("UTF-32"), std::string::npos);
        }
    }
}

TEST_F(EncodedFiles, InvalidBytesAfterTheEvidenceAreShiftJis)
{
    std::string text;
    while (text.size() < Utf8EvidenceBytes)
        text += "\xE6\x97\xA5\xE6\x9C\xAC\n";
    text += "\x93\xFA\x96\x7Bhttps://a/\x93\xFA \xE6\x97\xA5https://b/\xE6\x97\xA5\n";
    TTextEncoding decided;
    EXPECT_EQ(Urls(Write("late.txt", text), SchemeRuleOff(), nullptr, &decided),
              (std::vector<std::string>{"https://a/\x93\xFA", "https://b/\x93\xFA"}));
    EXPECT_EQ(decided, TTextEncoding::Utf8);
    const std::string copy = Utf8ToShiftJis(text);
    EXPECT_EQ(Urls(Write("copy.txt", copy), SchemeRuleOff(), nullptr, &decided),
              (std::vector<std::string>{"https://a/\x93\xFA", "https://b/\x93\xFA"}));
    EXPECT_EQ(decided, TTextEncoding::ShiftJis);
    // Kana typed in Shift_JIS there still count for the kana conversion.
    TExtractOptions kana;
    kana.KanaConversion = true;
    text += "\x81\xE3 \x82\xAD\x82\xA9\x82\xA9\x82\xB9\x82\xAF\x82\xDF\x82\xDFx/\n";
    EXPECT_EQ(Urls(Write("kana.txt", text), kana).back(), "http://x/");
}

TEST_F(EncodedFiles, ACharacterCutAtEveryPieceBoundaryIsReadWhole)
{
    const std::string text = Utf8Bom + "\xE8\xA6\x8B http://a/\xE6\x97\xA5" + Emoji
                             + "\n\xE3\x80\x8Cwww.b.jp/" + Hangul
                             + "\r\n\xE6\x97\xA5\xE6\x97\xA5 ../c/\xE6\x97\xA5\n";
    for (const int bits : {0, 3, 4, 0x13, 0xFF}) {
        const TExtractOptions options = OptionsFromBits(bits);
        const std::string path = Write("cut.txt", text);
        const std::vector<std::string> expected =
            Urls(Write("copy.txt", Utf8ToShiftJis(text.substr(3))), options);
        for (std::size_t piece = 1; piece <= text.size() + 1; ++piece) {
            const TFileSplit split = Pieces(piece);
            ASSERT_EQ(Urls(path, options, &split), expected) << "pieces of " << piece << ", options " << bits;
        }
    }
}

TEST_F(EncodedFiles, RandomJapaneseTextsGiveTheSameUrlsInBothEncodingsUnderEveryOption)
{
    std::mt19937 random(19);
    std::uniform_int_distribution<std::size_t> pick(0, std::size(JapanesePieces) - 1);
    std::uniform_int_distribution<int> count(1, 40);
    for (int round = 0; round < 30; ++round) {
        std::string text = "\xE3\x81\x82";  // Japanese first, so that the copy is no UTF-8
        for (int n = count(random); n > 0; --n)
            text += JapanesePieces[pick(random)];
        const std::string utf8Path = Write("random.txt", text);
        const std::string sjisPath = Write("random-copy.txt", Utf8ToShiftJis(text));
        for (int bits = 0; bits < 256; ++bits) {
            const TExtractOptions options = OptionsFromBits(bits);
            ASSERT_EQ(Urls(utf8Path, options), Urls(sjisPath, options)) << text << " options " << bits;
            TRecordingSink fromUtf8, fromCopy;
            ExtractFromClipboardText(WholeTextAsShiftJis(text, TTextEncoding::Auto), options, fromUtf8);
            ExtractFromClipboardText(Utf8ToShiftJis(text), options, fromCopy);
            ASSERT_EQ(fromUtf8.Urls, fromCopy.Urls) << text << " options " << bits;
        }
    }
}

// Texts of many windows of lines, with a line longer than a few windows, a
// Ctrl-Z that starts a line near the end and lone CRs: the fields found
// from a block's marks are those of its lines read one by one.
TEST_F(EncodedFiles, LargeTextsGiveTheUrlsOfTheirShiftJisCopyUnderThePathRulesAndKana)
{
    std::mt19937 random(23);
    std::uniform_int_distribution<std::size_t> pick(0, std::size(JapanesePieces) - 1);
    std::string text = "\xE3\x81\x82";
    while (text.size() < 300000) {
        text += JapanesePieces[pick(random)];
        if (text.size() > 100000 && text.size() < 100100)
            text += std::string(70000, 'a') + "/b.c ";
    }
    text += "\n\x1a http://after.jp/\n";
    const std::string copy = Utf8ToShiftJis(text);
    const std::string utf8Path = Write("large.txt", text), sjisPath = Write("large-copy.txt", copy);
    const TFileSplit split = Pieces(50000);
    for (const int bits : {0x04, 0x20, 0x40, 0x14, 0x60, 0xFF, 0x7F}) {
        const TExtractOptions options = OptionsFromBits(bits);
        const std::vector<std::string> expected = Urls(sjisPath, options);
        ASSERT_GT(expected.size(), 100u) << bits;
        ForEachStepWidth([&] {
            EXPECT_EQ(Urls(utf8Path, options), expected) << "options " << bits;
            EXPECT_EQ(Urls(utf8Path, options, &split), expected) << "options " << bits;
        });
    }
}
