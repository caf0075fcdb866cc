#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <filesystem>

#include <sys/resource.h>
#include <sys/stat.h>

#include "FileWriting.h"
#include "WorkspaceFixture.h"

namespace {

namespace fs = std::filesystem;

struct Persistence : TWorkspaceFixture, ::testing::Test {
    // The next run of the program over the same folder.
    TWorkspace Restarted()
    {
        TWorkspace next(Services, Folder);
        next.FormCreate();
        return next;
    }
    std::size_t FilesInFolder()
    {
        return static_cast<std::size_t>(std::distance(fs::directory_iterator(Folder), {}));
    }
};

TEST_F(Persistence, FirstStartUsesDefaultsAndSettingsAreClamped)
{
    W.FormCreate();
    EXPECT_EQ(W.Options.PREFIX, "URL-");
    EXPECT_TRUE(W.Options.WWW && W.Options.ALL && W.ClipIgnore && W.MonitorEnabled);
    EXPECT_TRUE(List.Empty() && W.MemoPad1.empty() && W.MemoPad2.empty());

    WriteBytes(Folder + "Linkrake.ini", "[SYSTEM]\r\nNUMBER=9\r\nCB=1\r\nWWW=x\r\n");
    TWorkspace next = Restarted();
    EXPECT_EQ(next.Options.NUMBER, 5);
    EXPECT_FALSE(next.ClipIgnore);
    EXPECT_TRUE(next.Options.WWW);  // not a number: the default
}

TEST_F(Persistence, SavingSettingsKeepsEverythingButTheProgramsKeys)
{
    const std::string before = "; comment\r\n[Other]\r\nPREFIX=not ours\r\n\r\n[SYSTEM]\r\nPREFIX=old\r\n"
                               "Custom = keep me \r\nnumber=0x3\r\nno equals sign\r\n\r\n[Tail]\r\nx=1\r\n";
    WriteBytes(Folder + "Linkrake.ini", before);
    W.FormCreate();
    EXPECT_EQ(W.Options.NUMBER, 3);
    W.Options.PREFIX = Sjis("画像-");
    W.Options.RULE2 = true;
    ASSERT_TRUE(W.FormClose());
    EXPECT_EQ(
        ReadBytes(Folder + "Linkrake.ini"),
        "; comment\r\n[Other]\r\nPREFIX=not ours\r\n\r\n[SYSTEM]\r\nPREFIX=" + Sjis("画像-")
            + "\r\nCustom = keep me \r\nNUMBER=3\r\nno equals sign\r\n"
              "WWW=1\r\nALL=1\r\nNTT=0\r\nLINK=0\r\nEXTRACTION=0\r\nCB=0\r\nMEMO=\r\nBEFORE=\r\nAFTER=\r\n"
              "SEARCH=\r\nRULE1=0\r\nRULE2=1\r\nRULE3=0\r\n\r\n[Tail]\r\nx=1\r\n");
    EXPECT_EQ(Restarted().Options.PREFIX, Sjis("画像-"));
}

TEST_F(Persistence, ListRoundTripKeepsEmptyItemsWithoutRecognizing)
{
    Fill(List, {"not a url", "", "www.a.example", ""});
    ASSERT_TRUE(W.FormClose());
    EXPECT_EQ(ReadBytes(Folder + "List.txt"), "not a url\r\n\r\nwww.a.example\r\n\r\n");
    EXPECT_EQ(Texts(Restarted().List), (Strings{"not a url", "", "www.a.example", ""}));
}

TEST_F(Persistence, MemoJoiningRules)
{
    const auto roundTrip = [&](const std::string& memo) {
        W.MemoPad2 = memo;
        EXPECT_TRUE(W.FormClose());
        return Restarted().MemoPad2;
    };
    EXPECT_EQ(roundTrip("one\r\n\r\nthree"), "one\r\n\r\nthree");
    EXPECT_EQ(ReadBytes(Folder + "Memo2.txt"), "one\r\n\r\nthree\r\n");
    EXPECT_EQ(roundTrip("\r\n\r\nthird\r\nfourth"), "third\r\nfourth");
    EXPECT_EQ(roundTrip("\r\n\r\n"), "");
    EXPECT_EQ(roundTrip(""), "");
    EXPECT_TRUE(fs::exists(Folder + "Memo2.txt"));
    EXPECT_EQ(ReadBytes(Folder + "Memo2.txt"), "");
    EXPECT_EQ(ReadBytes(Folder + "Memo1.txt"), "");
}

TEST_F(Persistence, AFailedCloseIsReportedAndTheNextCloseRunsEverything)
{
    fs::create_directory(Folder + "List.txt");  // the list file cannot be replaced
    List.Append("http://a/");
    W.MemoPad1 = "memo";
    W.Options.MEMO = "PVD";
    EXPECT_FALSE(W.FormClose());
    EXPECT_EQ(Services.Errors, QStringList{Report(FileErrorMessage(EISDIR))});
    EXPECT_TRUE(fs::exists(Folder + "Linkrake.ini"));
    EXPECT_FALSE(fs::exists(Folder + "Memo1.txt"));
    EXPECT_TRUE(Services.Messages.isEmpty());

    fs::remove(Folder + "Linkrake.ini");
    fs::remove(Folder + "List.txt");
    EXPECT_TRUE(W.FormClose());
    EXPECT_TRUE(fs::exists(Folder + "Linkrake.ini"));
    EXPECT_EQ(ReadBytes(Folder + "Memo1.txt"), "memo\r\n");
    EXPECT_EQ(Services.Messages.size(), 1);  // the farewell, for the exact code only
    W.Options.MEMO = "pvd";
    EXPECT_TRUE(W.FormClose());
    EXPECT_EQ(Services.Messages.size(), 1);
}

TEST_F(Persistence, SettingsFailuresNameTheFileAndNeverOverwriteWhatCouldNotBeRead)
{
    TWorkspace elsewhere(Services, Folder + "gone/");
    EXPECT_FALSE(elsewhere.FormClose());
    fs::create_directory(Folder + "Linkrake.ini");
    WriteBytes(Folder + "Linkrake.ini/inside", "x");
    W.FormCreate();
    EXPECT_EQ(W.Options.PREFIX, "URL-");
    EXPECT_FALSE(W.FormClose());
    EXPECT_EQ(Services.Errors,
              (QStringList{QString::fromStdString(Folder) + Utf8("gone/Linkrake.ini に書き込めません."),
                           QString::fromStdString(Folder) + Utf8("Linkrake.ini に書き込めません.")}));
    EXPECT_EQ(ReadBytes(Folder + "Linkrake.ini/inside"), "x");
}

TEST_F(Persistence, AFullDiskKeepsTheOldFileWhole)
{
    WriteBytes(Folder + "List.txt", "http://old/\r\n");
    for (int i = 0; i < 2000; ++i)
        List.Append("http://example.com/a/long/enough/path/" + std::to_string(i));
    // Writes past 4 KiB fail with EFBIG, as on a full disk.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    rlimit limited = saved;
    limited.rlim_cur = 4096;
    setrlimit(RLIMIT_FSIZE, &limited);
    EXPECT_THROW(W.SaveListFile(), EInOutError);
    setrlimit(RLIMIT_FSIZE, &saved);
    EXPECT_EQ(ReadBytes(Folder + "List.txt"), "http://old/\r\n");
    EXPECT_EQ(FilesInFolder(), 1u);  // no temporary left behind
}

TEST_F(Persistence, SavesKeepPermissionsAndFollowSymbolicLinks)
{
    QTemporaryDir other;
    const std::string target = other.path().toStdString() + "/Memo1.txt";
    WriteBytes(target, "old\r\n");
    chmod(target.c_str(), 0640);
    fs::create_symlink(target, Folder + "Memo1.txt");
    W.MemoPad1 = "new";
    W.SaveMemo(1);
    EXPECT_TRUE(fs::is_symlink(Folder + "Memo1.txt"));
    EXPECT_EQ(ReadBytes(target), "new\r\n");
    EXPECT_EQ(fs::status(target).permissions(), fs::perms(0640));
}

TEST(ProgramFolder, IsTheExecutablesFolderWithATrailingSlash)
{
    EXPECT_EQ(ExtractFolder("/opt/tools/linkrake"), "/opt/tools");
    EXPECT_EQ(ExtractFolder("/a/\x95\x5c/prog"), "/a/\x95\x5c");
    EXPECT_EQ(ExtractFolder("linkrake"), "");
    EXPECT_TRUE(fs::exists(ProgramFolderOfExecutable() + "linkrake_workspace_tests"));
    // File system paths are UTF-8: a name ending in "デ" (E3 83 87) must not
    // hide the separator after it.
    EXPECT_EQ(ProgramFolderOf("/opt/\xe3\x83\x87/linkrake"), "/opt/\xe3\x83\x87/");
    EXPECT_EQ(ProgramFolderOf("/linkrake"), "/");
}

}  // namespace
