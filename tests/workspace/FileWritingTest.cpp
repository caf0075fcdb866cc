#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <filesystem>

#include <sys/resource.h>
#include <sys/stat.h>

#include "Errors.h"
#include "FakeServices.h"
#include "FileWriting.h"
#include "TestFiles.h"
#include "Workspace.h"

namespace {

namespace fs = std::filesystem;

std::vector<std::string> FolderEntries(const std::string& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// Lets writes past `bytes` fail with EFBIG, as on a full disk, for the
// lifetime of the object.
class TFileSizeLimit {
public:
    explicit TFileSizeLimit(rlim_t bytes)
    {
        std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &FSaved);
        rlimit limited = FSaved;
        limited.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~TFileSizeLimit() { setrlimit(RLIMIT_FSIZE, &FSaved); }

private:
    rlimit FSaved{};
};

TEST(AtomicWrite, ReplacesTheFileAndLeavesNoTemporaryBehind)
{
    TTestFolder folder;
    WriteBytes(folder.File("List.txt"), "old contents that are longer\r\n");
    chmod(folder.File("List.txt").c_str(), 0640);
    WriteFileAtomically(folder.File("List.txt"), "new\r\n");
    EXPECT_EQ(ReadBytes(folder.File("List.txt")), "new\r\n");
    EXPECT_EQ(FolderEntries(folder.Path()), std::vector<std::string>{"List.txt"});
    struct stat info {};
    stat(folder.File("List.txt").c_str(), &info);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
}

TEST(AtomicWrite, AFullDiskKeepsTheOldFileWhole)
{
    TTestFolder folder;
    WriteBytes(folder.File("List.txt"), "http://old/\r\n");
    TFakeServices services;
    TWorkspace workspace(services, folder.Path());
    for (int i = 0; i < 5000; ++i)
        workspace.List.Append("http://example.com/a/rather/long/path/to/make/the/file/big/" + std::to_string(i));
    {
        TFileSizeLimit limit(4096);
        EXPECT_THROW(workspace.SaveListFile(), EInOutError);
    }
    EXPECT_EQ(ReadBytes(folder.File("List.txt")), "http://old/\r\n");
    EXPECT_EQ(FolderEntries(folder.Path()), std::vector<std::string>{"List.txt"});
}

TEST(AtomicWrite, FollowsASymbolicLinkInsteadOfReplacingIt)
{
    TTestFolder folder;
    TTestFolder elsewhere;
    WriteBytes(elsewhere.File("Memo1.txt"), "old\r\n");
    fs::create_symlink(elsewhere.File("Memo1.txt"), folder.File("Memo1.txt"));
    WriteFileAtomically(folder.File("Memo1.txt"), "new\r\n");
    EXPECT_TRUE(fs::is_symlink(folder.File("Memo1.txt")));
    EXPECT_EQ(ReadBytes(elsewhere.File("Memo1.txt")), "new\r\n");
}

TEST(TruncatingWrite, ReportsTheFileErrorOfAMissingFolder)
{
    TTestFolder folder;
    try {
        WriteFileTruncating(folder.File("no/such/file.txt"), "x");
        FAIL() << "expected a failure";
    } catch (const EInOutError& error) {
        EXPECT_EQ(error.Code, ENOENT);
        EXPECT_EQ(std::string(error.what()), FileErrorMessage(ENOENT));
    }
}

TEST(ProgramFolder, ExtractFolderCutsAtTheLastRealSlash)
{
    EXPECT_EQ(ExtractFolder("/opt/tools/linkrake"), "/opt/tools");
    EXPECT_EQ(ExtractFolder("/linkrake"), "");
    EXPECT_EQ(ExtractFolder("linkrake"), "");
    // 0x2F never occurs as a second byte, so a slash after a double-byte
    // character still counts.
    EXPECT_EQ(ExtractFolder("/a/\x95\x5c/prog"), "/a/\x95\x5c");
    const std::string own = ProgramFolderOfExecutable();
    ASSERT_FALSE(own.empty());
    EXPECT_EQ(own.back(), '/');
    EXPECT_TRUE(fs::exists(own + "linkrake_workspace_tests"));
}

}  // namespace
