#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "Engine.h"

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
    options.EXTRACTION = true;
    TUrlList list;
    list.Append("old");
    const std::string path =
        Write("x http://a/\r\nhttp://b/[1-2]\nhttp://c/[" + std::string(230, '0') + "-1]\nhttp://d/\n");
    EXPECT_THROW(ExtractFromFile(path, options, list), EFormatError);
    ASSERT_EQ(list.Count(), 4u);
    EXPECT_EQ(list[3], "http://b/2");
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
