#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <thread>

#include <unistd.h>

#include "CorpusText.h"
#include "RandomText.h"
#include "engine/Engine.h"

namespace {

namespace fs = std::filesystem;

// What a reading gave: the URLs in order, then the error that ended it.
struct TOutcome {
    std::vector<std::string> Urls;
    std::string Error;
    bool operator==(const TOutcome&) const = default;
};

std::ostream& operator<<(std::ostream& out, const TOutcome& outcome)
{
    out << outcome.Urls.size() << " URLs";
    if (!outcome.Urls.empty())
        out << ", last " << outcome.Urls.back();
    return out << ", error \"" << outcome.Error << "\"";
}

// Records the URLs, and whether any reached it off the calling thread.
class TRecordingSink final : public TUrlSink {
public:
    void Add(std::string_view url) override
    {
        OffThread = OffThread || std::this_thread::get_id() != FCaller;
        Outcome.Urls.emplace_back(url);
    }
    TOutcome Outcome;
    bool OffThread = false;

private:
    std::thread::id FCaller = std::this_thread::get_id();
};

TFileSplit TinySplit(std::size_t pieceBytes, unsigned threads = 2)
{
    TFileSplit split;
    split.Threads = threads;
    split.PieceBytes = pieceBytes;
    split.SmallestFile = 0;
    return split;
}

class SplitFiles : public ::testing::Test {
protected:
    void SetUp() override
    {
        FFolder = fs::temp_directory_path() / ("linkrake-split-" + std::to_string(::getpid()));
        fs::create_directories(FFolder);
        FPath = (FFolder / "in.txt").string();
    }
    void TearDown() override { fs::remove_all(FFolder); }

    void Write(const std::string& bytes) { std::ofstream(FPath, std::ios::binary) << bytes; }

    TOutcome Read(const TExtractOptions& options, const TFileSplit* split)
    {
        TRecordingSink sink;
        try {
            if (split)
                ExtractFromFile(FPath, options, sink, *split);
            else
                ExtractFromFile(FPath, options, sink);
        } catch (const EEngineError& error) {
            sink.Outcome.Error = error.what();
        }
        EXPECT_FALSE(sink.OffThread);
        return sink.Outcome;
    }

    // Every piece size from 1 byte up to past the whole text, so that each
    // cut falls on each byte once.
    void ExpectSameAtEveryCut(const std::string& text, const TExtractOptions& options = {})
    {
        Write(text);
        const TOutcome expected = Read(options, nullptr);
        for (std::size_t piece = 1; piece <= text.size() + 1; ++piece) {
            const TFileSplit split = TinySplit(piece);
            ASSERT_EQ(Read(options, &split), expected)
                << "pieces of " << piece << " in " << ::testing::PrintToString(text);
        }
    }

    fs::path FFolder;
    std::string FPath;
};

TExtractOptions Ranges()
{
    TExtractOptions options;
    options.RangeExpansion = true;
    return options;
}

}  // namespace

TEST_F(SplitFiles, CutsFallingInsideLinesAndLineBreaksChangeNothing)
{
    ExpectSameAtEveryCut("");
    ExpectSameAtEveryCut("http://no-line-feed/");
    ExpectSameAtEveryCut("http://a/\r\nx http://b/ y\r\n\r\nhttp://c/\n");
    ExpectSameAtEveryCut("http://a\rb/ ww\rw.c\r\rhttp://d/\r");
    // Double-byte characters whose second byte looks like ASCII: a cut
    // between the two bytes must not make a URL of half of one.
    ExpectSameAtEveryCut("\x82\xa0http://a/\x81\x5b\n\x95\\http://b/\x83\x7a\nh\x82\xaf\x82\xdf\x82\xdf"
                         "b/\n");
    TExtractOptions kana;
    kana.KanaConversion = true;
    ExpectSameAtEveryCut("x \x82\xad\x82\xa9\x82\xa9\x82\xb9\x82\xaf\x82\xdf\x82\xdf"
                         "d/\n"
                         "\x82\xad\x82\xa9\x82\xa9\x82\xb9\x82\xaf\x82\xdf\x82\xdf"
                         "e/",
                         kana);
}

TEST_F(SplitFiles, ACtrlZAtALineStartEndsTheTextWhereverTheCutsFall)
{
    ExpectSameAtEveryCut("http://a/\n\x1a"
                         "http://b/\nhttp://c/\n");
    ExpectSameAtEveryCut("http://a/\x1a\nhttp://b/\n\x1a\nhttp://c/\n");
    ExpectSameAtEveryCut("\x1a"
                         "http://a/\n");
    // A range the later text would refuse is never reached.
    ExpectSameAtEveryCut("http://a/\n\x1a\nhttp://r/[0-2147483647]\n", Ranges());
}

TEST_F(SplitFiles, ARefusedRangeEndsTheTextAfterTheUrlsBeforeIt)
{
    ExpectSameAtEveryCut("http://a/\nhttp://b/[1-2] http://r/[0-2147483647] http://c/\nhttp://d/\n",
                         Ranges());
    // Refused ranges in two pieces: the first one is reported.
    ExpectSameAtEveryCut("http://r/[0-2147483647]\nhttp://s/[" + std::string(230, '0') + "-1]\n", Ranges());
}

TEST_F(SplitFiles, LinesLongerThanManyPiecesAreReadWhole)
{
    std::string text = "http://a/\n" + std::string(100000, 'x') + " http://long/ "
                       + std::string(50000, '\x82') + "\r\nhttp://b/\n" + std::string(70000, 'y');
    Write(text);
    const TOutcome expected = Read({}, nullptr);
    ASSERT_EQ(expected.Urls.size(), 3u);
    for (std::size_t piece : {1000u, 4096u, 65536u}) {
        const TFileSplit split = TinySplit(piece, 3);
        EXPECT_EQ(Read({}, &split), expected) << piece;
    }
}

TEST_F(SplitFiles, AFullBatchLetsTheRestOfItsPieceWaitForItsTurn)
{
    // Each line gives far more than a batch holds, so every piece stops
    // early and the calling thread does the rest in order.
    std::string text;
    for (int i = 0; i < 40; ++i)
        text += "http://r" + std::to_string(i) + "/[1-300] http://s" + std::to_string(i) + "/\n";
    Write(text);
    const TOutcome expected = Read(Ranges(), nullptr);
    ASSERT_EQ(expected.Urls.size(), 40u * 301);
    for (std::size_t batchBytes : {1u, 100u, 5000u}) {
        TFileSplit split = TinySplit(200);
        split.BatchBytes = batchBytes;
        EXPECT_EQ(Read(Ranges(), &split), expected) << batchBytes;
    }
}

TEST_F(SplitFiles, RandomTextsUnderEveryOptionMatchTheLineByLineReading)
{
    std::mt19937 random(73);
    std::uniform_int_distribution<int> bits(0, 255), lineCount(0, 30), ending(0, 4), pieceBytes(1, 120);
    std::uniform_int_distribution<int> threads(2, 4), refused(0, 30);
    for (int trial = 0; trial < 1500; ++trial) {
        std::string text;
        for (int n = lineCount(random); n > 0; --n) {
            text += RandomText(random, 10);
            if (refused(random) == 0)
                text += " http://r/[0-2147483647]";
            text += ending(random) == 0 ? "\n" : "\r\n";
        }
        const TExtractOptions options = OptionsFromBits(bits(random));
        Write(text);
        TFileSplit split =
            TinySplit(static_cast<std::size_t>(pieceBytes(random)), static_cast<unsigned>(threads(random)));
        split.BatchBytes = refused(random) < 3 ? 10 : split.BatchBytes;
        ASSERT_EQ(Read(options, &split), Read(options, nullptr)) << ::testing::PrintToString(text);
    }
}

TEST_F(SplitFiles, ALargeCorpusGivesTheSameUrlsWithTheUsualPieces)
{
    Write(MakeCorpus(12 << 20, 17));
    TExtractOptions every = OptionsFromBits(255);
    for (const TExtractOptions& options : {TExtractOptions{}, every}) {
        const TOutcome expected = Read(options, nullptr);
        ASSERT_GT(expected.Urls.size(), 10000u);
        const TFileSplit split;
        EXPECT_EQ(Read(options, &split), expected);
    }
}

TEST_F(SplitFiles, FilesThatCannotBeReadFailAsBefore)
{
    TRecordingSink sink;
    try {
        ExtractFromFile((FFolder / "missing.txt").string(), {}, sink, TinySplit(10));
        FAIL() << "no error";
    } catch (const EInOutError& error) {
        EXPECT_EQ(error.Code, ENOENT);
    }
    EXPECT_THROW(ExtractFromFile(FFolder.string(), {}, sink, TinySplit(10)), EInOutError);
}
