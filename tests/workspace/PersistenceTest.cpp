#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>

#include "FakeServices.h"
#include "TestFiles.h"
#include "Workspace.h"

namespace {

using Strings = std::vector<std::string>;

QString Utf8(const char* text) { return QString::fromUtf8(text); }

class Persistence : public ::testing::Test {
protected:
    TTestFolder Folder;
    TFakeServices Services;
    TWorkspace Workspace{Services, Folder.Path()};

    // A second run of the program over the same folder.
    TWorkspace Restarted()
    {
        TWorkspace next(Services, Folder.Path());
        next.FormCreate();
        return next;
    }
};

TEST_F(Persistence, FirstStartWithoutFilesUsesTheDefaults)
{
    Workspace.FormCreate();
    EXPECT_EQ(Workspace.Options.PREFIX, "URL-");
    EXPECT_EQ(Workspace.Options.NUMBER, 4);
    EXPECT_TRUE(Workspace.Options.WWW);
    EXPECT_TRUE(Workspace.Options.ALL);
    EXPECT_FALSE(Workspace.Options.CB);
    EXPECT_TRUE(Workspace.ClipIgnore);
    EXPECT_TRUE(Workspace.MonitorEnabled);
    EXPECT_TRUE(Workspace.List.Empty());
    EXPECT_TRUE(Workspace.Memo1.empty());
    EXPECT_TRUE(Workspace.Memo2.empty());
}

TEST_F(Persistence, SettingsAreReadWithClampingAndMonitoringFollowsCB)
{
    WriteBytes(Folder.File("Linkrake.ini"), "[SYSTEM]\r\nNUMBER=9\r\nCB=1\r\nPREFIX= pic- \r\nWWW=x\r\n");
    Workspace.FormCreate();
    EXPECT_EQ(Workspace.Options.NUMBER, 5);
    EXPECT_TRUE(Workspace.Options.CB);
    EXPECT_FALSE(Workspace.ClipIgnore);
    EXPECT_EQ(Workspace.Options.PREFIX, "pic-");
    EXPECT_TRUE(Workspace.Options.WWW);  // not a number: the default
}

TEST_F(Persistence, SavingSettingsKeepsEverythingButTheProgramsKeys)
{
    WriteBytes(Folder.File("Linkrake.ini"),
               "; kept comment\r\n"
               "[Other]\r\n"
               "PREFIX=not ours\r\n"
               "\r\n"
               "[SYSTEM]\r\n"
               "PREFIX=old\r\n"
               "Custom = keep me \r\n"
               "number=0x3\r\n"
               "garbage line without equals\r\n"
               "\r\n"
               "[Tail]\r\n"
               "x=1\r\n");
    Workspace.FormCreate();
    EXPECT_EQ(Workspace.Options.NUMBER, 3);
    Workspace.Options.PREFIX = "new-";
    Workspace.Options.MEMO = "memo";
    Workspace.Options.RULE2 = true;
    ASSERT_TRUE(Workspace.FormClose());
    EXPECT_EQ(ReadBytes(Folder.File("Linkrake.ini")),
              "; kept comment\r\n"
              "[Other]\r\n"
              "PREFIX=not ours\r\n"
              "\r\n"
              "[SYSTEM]\r\n"
              "PREFIX=new-\r\n"
              "Custom = keep me \r\n"
              "NUMBER=3\r\n"
              "garbage line without equals\r\n"
              "WWW=1\r\nALL=1\r\nNTT=0\r\nLINK=0\r\nEXTRACTION=0\r\nCB=0\r\n"
              "MEMO=memo\r\nBEFORE=\r\nAFTER=\r\nSEARCH=\r\nRULE1=0\r\nRULE2=1\r\nRULE3=0\r\n"
              "\r\n"
              "[Tail]\r\n"
              "x=1\r\n");
    EXPECT_TRUE(Services.Errors.isEmpty());
}

TEST_F(Persistence, SettingsRoundTrip)
{
    Workspace.Options.PREFIX = Sjis("画像-");
    Workspace.Options.NUMBER = 2;
    Workspace.Options.WWW = false;
    Workspace.Options.CB = true;
    Workspace.Options.BEFORE = "http://";
    Workspace.Options.AFTER = "https://";
    Workspace.Options.SEARCH = ".zip";
    ASSERT_TRUE(Workspace.FormClose());
    TWorkspace next = Restarted();
    EXPECT_EQ(next.Options.PREFIX, Sjis("画像-"));
    EXPECT_EQ(next.Options.NUMBER, 2);
    EXPECT_FALSE(next.Options.WWW);
    EXPECT_TRUE(next.Options.CB);
    EXPECT_EQ(next.Options.AFTER, "https://");
    EXPECT_EQ(next.Options.SEARCH, ".zip");
}

TEST_F(Persistence, ListRoundTripKeepsEmptyItemsAndOrder)
{
    Fill(Workspace.List, {"http://b/", "", "http://a/", Sjis("メモ"), ""});
    ASSERT_TRUE(Workspace.FormClose());
    EXPECT_EQ(ReadBytes(Folder.File("List.txt")), "http://b/\r\n\r\nhttp://a/\r\n" + Sjis("メモ") + "\r\n\r\n");
    EXPECT_EQ(Texts(Restarted().List), (Strings{"http://b/", "", "http://a/", Sjis("メモ"), ""}));
}

TEST_F(Persistence, ListFileLinesAreNotPassedThroughTheRecognizer)
{
    WriteBytes(Folder.File("List.txt"), "not a url\r\nwww.example.com\n\nlast");
    Workspace.FormCreate();
    EXPECT_EQ(Texts(Workspace.List), (Strings{"not a url", "www.example.com", "", "last"}));
}

TEST_F(Persistence, MemoJoiningRules)
{
    const auto roundTrip = [&](const std::string& memo) {
        Workspace.Memo1 = memo;
        EXPECT_TRUE(Workspace.FormClose());
        return Restarted().Memo1;
    };
    EXPECT_EQ(roundTrip("one\r\n\r\nthree"), "one\r\n\r\nthree");
    EXPECT_EQ(ReadBytes(Folder.File("Memo1.txt")), "one\r\n\r\nthree\r\n");
    EXPECT_EQ(roundTrip("\r\n\r\nthird\r\nfourth"), "third\r\nfourth");
    EXPECT_EQ(roundTrip("\r\n\r\n"), "");
    EXPECT_EQ(roundTrip(""), "");
    EXPECT_EQ(ReadBytes(Folder.File("Memo1.txt")), "");
    EXPECT_TRUE(std::filesystem::exists(Folder.File("Memo1.txt")));
}

TEST_F(Persistence, MemoPadsUseTheirOwnFiles)
{
    WriteBytes(Folder.File("Memo2.txt"), "second pad\r\nline 2");
    Workspace.Memo1 = "stale";
    Workspace.FormCreate();
    EXPECT_EQ(Workspace.Memo1, "");  // a missing file empties the pad
    EXPECT_EQ(Workspace.Memo2, "second pad\r\nline 2");
}

TEST_F(Persistence, FarewellOnlyForTheExactCode)
{
    Workspace.Options.MEMO = "pvd";
    ASSERT_TRUE(Workspace.FormClose());
    EXPECT_TRUE(Services.Messages.isEmpty());
    Workspace.Options.MEMO = "PVD";
    ASSERT_TRUE(Workspace.FormClose());
    ASSERT_EQ(Services.Messages.size(), 1);
    EXPECT_FALSE(Services.Messages[0].isEmpty());
}

TEST_F(Persistence, AFailedWriteStopsTheCloseAndTheNextCloseRunsEverything)
{
    // A folder where the list file belongs: the list cannot be replaced.
    std::filesystem::create_directory(Folder.File("List.txt"));
    Workspace.List.Append("http://a/");
    Workspace.Memo1 = "memo";
    Workspace.Options.MEMO = "PVD";
    EXPECT_FALSE(Workspace.FormClose());
    EXPECT_EQ(Services.Errors, QStringList{TWorkspace::DefaultErrorText(QString::fromStdString(FileErrorMessage(EISDIR)))});
    EXPECT_TRUE(std::filesystem::exists(Folder.File("Linkrake.ini")));
    EXPECT_FALSE(std::filesystem::exists(Folder.File("Memo1.txt")));
    EXPECT_TRUE(Services.Messages.isEmpty());

    std::filesystem::remove(Folder.File("Linkrake.ini"));
    std::filesystem::remove(Folder.File("List.txt"));
    EXPECT_TRUE(Workspace.FormClose());
    EXPECT_TRUE(std::filesystem::exists(Folder.File("Linkrake.ini")));
    EXPECT_EQ(ReadBytes(Folder.File("List.txt")), "http://a/\r\n");
    EXPECT_EQ(ReadBytes(Folder.File("Memo1.txt")), "memo\r\n");
    EXPECT_EQ(Services.Messages.size(), 1);
}

TEST_F(Persistence, ASettingsWriteFailureNamesTheFile)
{
    const std::string missingFolder = Folder.File("gone/");
    TWorkspace workspace(Services, missingFolder);
    EXPECT_FALSE(workspace.FormClose());
    EXPECT_EQ(Services.Errors, QStringList{QString::fromStdString(missingFolder) + Utf8("Linkrake.ini に書き込めません.")});
}

TEST_F(Persistence, AnUnreadableSettingsFileIsNotOverwritten)
{
    // A folder in its place cannot be read; writing over it would lose it.
    std::filesystem::create_directory(Folder.File("Linkrake.ini"));
    WriteBytes(Folder.File("Linkrake.ini/inside"), "x");
    Workspace.FormCreate();
    EXPECT_EQ(Workspace.Options.PREFIX, "URL-");
    EXPECT_FALSE(Workspace.FormClose());
    EXPECT_EQ(Services.Errors, QStringList{QString::fromStdString(Folder.File("Linkrake.ini")) + Utf8(" に書き込めません.")});
    EXPECT_EQ(ReadBytes(Folder.File("Linkrake.ini/inside")), "x");
}

}  // namespace
