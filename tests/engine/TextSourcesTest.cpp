#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "CorpusText.h"
#include "RandomText.h"
#include "ReferenceEngine.h"
#include "StepWidths.h"
#include "engine/CandidateScan.h"
#include "engine/Engine.h"

namespace {

using V = std::vector<std::string>;
namespace fs = std::filesystem;

class TextFiles : public ::testing::Test {
protected:
    void SetUp() override
    {
        FFolder = fs::temp_directory_path() / ("linkrake-text-" + std::to_string(::getpid()));
        fs::create_directories(FFolder);
    }
    void TearDown() override
    {
        fs::permissions(FFolder, fs::perms::owner_all, fs::perm_options::add);
        fs::remove_all(FFolder);
    }

    std::string Write(const std::string& bytes, const std::string& name = "in.txt")
    {
        const std::string path = (FFolder / name).string();
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }

    static V Lines(const std::string& path)
    {
        V lines;
        ReadTextLines(path, [&](std::string_view line) { lines.emplace_back(line); });
        return lines;
    }

    fs::path FFolder;
};

}  // namespace

TEST_F(TextFiles, LineBreaksAndOddBytes)
{
    EXPECT_EQ(Lines(Write("a\r\nb\n\nc")), (V{"a", "b", "", "c"}));
    EXPECT_EQ(Lines(Write("a\rb\rc\r")), (V{"abc"}));
    EXPECT_EQ(Lines(Write("a\r\r\nb\r\n")), (V{"a", "b"}));
    EXPECT_EQ(Lines(Write("")), V{});
    EXPECT_EQ(Lines(Write("\n")), (V{""}));
    EXPECT_EQ(Lines(Write(std::string("a\0b\n", 4))), (V{std::string("a\0b", 3)}));
}

TEST_F(TextFiles, BytesAlreadyReadAreCutAsAFileIs)
{
    std::mt19937 random(41);
    for (int trial = 0; trial < 300; ++trial) {
        const std::string bytes = RandomText(random, 20);
        V split;
        SplitTextLines(bytes, [&](std::string_view line) { split.emplace_back(line); });
        ASSERT_EQ(split, Lines(Write(bytes))) << ::testing::PrintToString(bytes);
    }
}

TEST_F(TextFiles, CtrlZEndsTheFileOnlyAtTheStartOfALine)
{
    EXPECT_EQ(Lines(Write("a\x1a"
                          "b\n\x1a"
                          "c\nd\n")),
              (V{"a\x1a"
                 "b"}));
    EXPECT_EQ(Lines(Write("\x1a"
                          "abc")),
              V{});
}

TEST_F(TextFiles, HugeLinesAndChunkBoundariesAreReadWhole)
{
    std::string big(5 << 20, 'x');
    big[1 << 20] = '\r';  // a lone CR right on a chunk boundary
    const std::string joined = big.substr(0, 1 << 20) + big.substr((1 << 20) + 1);
    const V lines = Lines(Write(big + "\r\n" + "\x1a"));
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0], joined);

    // A line ending exactly at a chunk boundary, then a Ctrl-Z that opens the next chunk.
    const std::string exact(std::size_t(1 << 20) - 1, 'y');
    EXPECT_EQ(Lines(Write(exact
                          + "\n\x1a"
                            "after")),
              (V{exact}));
}

TEST_F(TextFiles, FileErrorsCarryTheirMessage)
{
    try {
        Lines((FFolder / "missing.txt").string());
        FAIL() << "no error";
    } catch (const EInOutError& error) {
        EXPECT_EQ(error.Code, ENOENT);
        EXPECT_STREQ(error.what(), "ファイルが見つかりません");
    }
    EXPECT_THROW(Lines(FFolder.string()), EInOutError);
    EXPECT_THROW(ReadFileBytes(FFolder.string()), EInOutError);
    if (::geteuid() != 0) {
        const std::string locked = Write("http://x/\n", "locked.txt");
        ::chmod(locked.c_str(), 0);
        EXPECT_THROW(Lines(locked), EInOutError);
    }
}

TEST_F(TextFiles, DescriptorsAreReadFromWhereTheyStandAndLeftOpen)
{
    int ends[2];
    ASSERT_EQ(::pipe(ends), 0);
    ASSERT_EQ(::write(ends[1], "a\r\nb", 4), 4);
    ::close(ends[1]);
    V lines;
    ReadTextLines(ends[0], [&](std::string_view line) { lines.emplace_back(line); });
    EXPECT_EQ(lines, (V{"a", "b"}));
    EXPECT_NE(::fcntl(ends[0], F_GETFD), -1);
    ::close(ends[0]);

    const int file = ::open(Write("skip\nhttp://x/\n").c_str(), O_RDONLY);
    char skipped[5];
    ASSERT_EQ(::read(file, skipped, 5), 5);
    EXPECT_EQ(ReadFileBytes(file), "http://x/\n");
    ::close(file);
}

TEST_F(TextFiles, ExtractFromFileAppendsAfterWhatIsThere)
{
    TExtractOptions options;
    options.RangeExpansion = true;
    TUrlList list;
    list.Append("old");
    const std::string path =
        Write("x http://a/\r\nhttp://b/[1-2]\nhttp://c/[" + std::string(230, '0') + "-1]\nhttp://d/\n");
    EXPECT_THROW(ExtractFromFile(path, options, list), EFormatError);
    ASSERT_EQ(list.Count(), 4u);
    EXPECT_EQ(list[3], "http://b/2");
}

TEST_F(TextFiles, ExtractFromFileMatchesTheLiteralStepsLineByLine)
{
    // Lines of every odd piece (lone CRs, Ctrl-Z, NUL, kana, half characters)
    // so that the bulk skipping of lines that cannot hold a URL is checked
    // against each line the reader cuts, given to the literal steps.
    std::mt19937 random(29);
    std::uniform_int_distribution<int> bits(0, 255), lineCount(0, 12), ending(0, 3);
    ForEachStepWidth([&] {
        for (int trial = 0; trial < 400; ++trial) {
            std::string text;
            for (int n = lineCount(random); n > 0; --n)
                text += RandomText(random, 14) + (ending(random) == 0 ? "\n" : "\r\n");
            const int b = bits(random);
            const TExtractOptions options = OptionsFromBits(b);
            const std::string path = Write(text);
            TUrlList fast, slow;
            ExtractFromFile(path, options, fast);
            ReadTextLines(
                path, [&](std::string_view line) { reference::ExtractUrlsFromLine(line, options, slow); });
            ASSERT_EQ(fast.Count(), slow.Count())
                << "options " << b << " text " << ::testing::PrintToString(text);
            for (std::size_t i = 0; i < fast.Count(); ++i)
                ASSERT_EQ(fast[i], slow[i]);
        }
    });
}

TEST(CandidateLines, AnchorsAreFoundAtEveryLengthAndPlace)
{
    // Patterns across the steps' edges and in their last bytes; and texts
    // of many dots and colons that start no pattern, which the search tells
    // apart in bulk once a few were looked at in vain.
    std::mt19937 random(47);
    const auto expected = [](const std::string& text, std::size_t from, bool parentPaths) {
        for (std::size_t i = from; i < text.size(); ++i) {
            const std::string three = text.substr(i, 3);
            if (text[i] == '\x1a' || (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n'))
                || three == "://" || (parentPaths && three == "../"))
                return i;
            if (i >= from + 2 && text.substr(i - 2, 3) == "ww.")
                return i;
        }
        return text.size();
    };
    ForEachStepWidth([&] {
        for (const std::string alphabet : {":/.w\r\n\x1a"
                                           "a",
                                           "....:w/a"}) {
            std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
            for (std::size_t length = 0; length <= 160; ++length) {
                for (int trial = 0; trial < 20; ++trial) {
                    std::string text;
                    for (std::size_t i = 0; i < length; ++i)
                        text.push_back(alphabet[pick(random)]);
                    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
                    for (const bool parentPaths : {false, true})
                        for (std::size_t from = 0; from <= length; from += 7)
                            ASSERT_EQ(candidates::FindAnchor(bytes, from, length, parentPaths),
                                      expected(text, from, parentPaths))
                                << ::testing::PrintToString(text) << " from " << from;
                }
            }
        }
    });
}

TEST_F(TextFiles, LargeInputsGiveTheSameUrlsFromAFileAndAPipe)
{
    // Several read chunks, a line longer than a chunk, lone CRs and kana
    // pairs cut by them, read whole from a file and in small pieces from a pipe.
    std::string text = MakeCorpus(1 << 20, 11);
    text.insert(300000, std::string(400000, 'x') + " http://long/" + std::string(1000, '\x82'));
    text.insert(100000, "http://a\rb/ \x82\r\xAF\x82\xDF\x82\xDF ww\rw.c\r\n");
    TExtractOptions options;
    options.KanaConversion = options.ParentPathRule = options.SlashDotRule = options.RangeExpansion = true;
    TUrlList expected;
    ReadTextLines(Write(text), [&](std::string_view line) { ExtractUrlsFromLine(line, options, expected); });
    ASSERT_GT(expected.Count(), 1000u);

    ForEachStepWidth([&] {
        TUrlList fromFile;
        ExtractFromFile(Write(text), options, fromFile);
        EXPECT_EQ(fromFile.Items().size(), expected.Items().size());
        for (std::size_t i = 0; i < expected.Count() && i < fromFile.Count(); ++i)
            ASSERT_EQ(fromFile[i], expected[i]) << i;

        int ends[2];
        ASSERT_EQ(::pipe(ends), 0);
        std::thread writer([&] {
            for (std::size_t at = 0; at < text.size(); at += 777)
                if (::write(ends[1], text.data() + at, std::min<std::size_t>(777, text.size() - at)) < 0)
                    break;
            ::close(ends[1]);
        });
        TUrlList fromPipe;
        TUrlListSink sink(fromPipe);
        ExtractFromFile(ends[0], options, sink);
        writer.join();
        ::close(ends[0]);
        EXPECT_EQ(fromPipe.Items().size(), expected.Items().size());
        for (std::size_t i = 0; i < expected.Count() && i < fromPipe.Count(); ++i)
            ASSERT_EQ(fromPipe[i], expected[i]) << i;
    });
}

TEST(ClipboardText, LinesComeFromTheSplitterOnLineFeeds)
{
    TExtractOptions options;
    auto extract = [&](std::string_view text) {
        TUrlList list;
        ExtractFromClipboardText(text, options, list);
        V urls;
        for (std::size_t i = 0; i < list.Count(); ++i)
            urls.push_back(list[i]);
        return urls;
    };
    EXPECT_EQ(extract("see http://a/ here\r\nhttp://b/\r\n"), (V{"http://a/", "http://b/"}));
    EXPECT_EQ(extract("http://a/\r\n\"http://b/\r\nx\" http://c/"),
              (V{"http://a/", "http://b/\nx", "http://c/"}));
    EXPECT_EQ(extract("http://a/\nx=\"\"\nhttp://b/"), (V{"http://a/"}));
    EXPECT_EQ(extract(""), V{});
}

// Ranges in one copied text share the budget of one range: otherwise ten
// large ones in a line of text would bring ten million entries. A file read
// on purpose keeps the limit per range.
TEST_F(TextFiles, TheRangesOfOneClipboardTextShareOneBudget)
{
    struct TCountingSink final : TUrlSink {
        std::size_t Count = 0;
        void Add(std::string_view) override { ++Count; }
    };
    TExtractOptions options;
    options.RangeExpansion = true;
    const std::string text = "http://a/[1-600000]\nhttp://b/[1-400000]\nhttp://c/[1-2]\n";

    TCountingSink copied;
    EXPECT_THROW(ExtractFromClipboardText(text, options, copied), EFormatError);
    EXPECT_EQ(copied.Count, 1000000u);  // the first two fit, the third is past it
    TCountingSink again;                // the budget is per text, not per sink
    EXPECT_THROW(ExtractFromClipboardText(text, options, again), EFormatError);
    EXPECT_NO_THROW(ExtractFromClipboardText("http://d/[1-1000000]", options, again));

    TCountingSink read;
    ExtractFromFile(Write(text), options, read);
    EXPECT_EQ(read.Count, 1000002u);
}

// Appends a line to the file being read at every URL, as a program writing
// a log faster than it is read would.
class TAppendingSink final : public TUrlSink {
public:
    explicit TAppendingSink(std::string path) : FPath(std::move(path)) { }
    void Add(std::string_view url) override
    {
        Urls.emplace_back(url);
        if (Urls.size() < 5000)
            std::ofstream(FPath, std::ios::binary | std::ios::app) << "http://appended/\n";
    }
    V Urls;

private:
    std::string FPath;
};

TEST_F(TextFiles, AFileReadAsOpenedEndsWhereItEndedWhateverIsAppended)
{
    std::string text = "skip ";
    for (int i = 0; i < 2000; ++i)
        text += "http://a/" + std::to_string(i) + "\n";
    for (const bool atStart : {true, false}) {
        const std::string path = Write(text);
        const int file = ::open(path.c_str(), O_RDONLY);
        char skipped[5];
        if (!atStart) {
            ASSERT_EQ(::read(file, skipped, 5), 5);
        }
        TAppendingSink sink(path);
        ExtractFromFileAsOpened(file, TExtractOptions{}, sink);
        ::close(file);
        ASSERT_EQ(sink.Urls.size(), 2000u) << atStart;
        EXPECT_EQ(sink.Urls.back(), "http://a/1999");
    }
    int ends[2];  // a stream has no size to end at
    ASSERT_EQ(::pipe(ends), 0);
    ASSERT_EQ(::write(ends[1], "http://piped/", 13), 13);
    ::close(ends[1]);
    TUrlList list;
    TUrlListSink sink(list);
    ExtractFromFileAsOpened(ends[0], TExtractOptions{}, sink);
    ::close(ends[0]);
    EXPECT_EQ(list.Count(), 1u);
}
