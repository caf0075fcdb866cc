#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <memory>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include "WorkspaceFixture.h"
#include "workspace/FileWriting.h"
#include "workspace/MemoBytes.h"

namespace {

namespace fs = std::filesystem;

struct Persistence : TWorkspaceFixture, ::testing::Test {
    // The next run of the program over the same folder.
    std::unique_ptr<TWorkspace> Restarted()
    {
        auto next = std::make_unique<TWorkspace>(Services, Folder);
        next->LoadWorkspace();
        return next;
    }
    QString Path(const char* name) { return QString::fromStdString(Folder) + Utf8(name); }
    std::size_t FilesInFolder()
    {
        return static_cast<std::size_t>(std::distance(fs::directory_iterator(Folder), {}));
    }
};

TEST_F(Persistence, FirstStartUsesDefaultsAndSettingsAreClamped)
{
    W.LoadWorkspace();
    EXPECT_EQ(W.Options.ShortcutPrefix, "URL-");
    EXPECT_TRUE(W.Options.WwwRule && W.Options.SchemeRule
                && W.Monitoring.State() == TClipboardMonitoring::TState::Off);
    EXPECT_TRUE(List.Empty() && W.MemoPad1.empty() && W.MemoPad2.empty());

    WriteBytes(Folder + "Linkrake.ini", "[SYSTEM]\r\nNUMBER=9\r\nCB=1\r\nWWW=x\r\n");
    const auto next = Restarted();
    EXPECT_EQ(next->Options.ShortcutDigits, 5);
    EXPECT_EQ(next->Monitoring.State(), TClipboardMonitoring::TState::On);
    EXPECT_TRUE(next->Options.WwwRule);  // not a number: the default
}

TEST_F(Persistence, SavingSettingsKeepsEverythingButTheProgramsKeys)
{
    const std::string before = "; comment\r\n[Other]\r\nPREFIX=not ours\r\n\r\n[SYSTEM]\r\nPREFIX=old\r\n"
                               "Custom = keep me \r\nnumber=0x3\r\nno equals sign\r\n\r\n[Tail]\r\nx=1\r\n";
    WriteBytes(Folder + "Linkrake.ini", before);
    W.LoadWorkspace();
    EXPECT_EQ(W.Options.ShortcutDigits, 3);
    W.Options.ShortcutPrefix = Sjis("画像-");
    W.Options.RootPathRule = true;
    ASSERT_TRUE(W.Files.SaveBeforeQuitting());
    EXPECT_EQ(
        ReadBytes(Folder + "Linkrake.ini"),
        "; comment\r\n[Other]\r\nPREFIX=not ours\r\n\r\n[SYSTEM]\r\nPREFIX=" + Sjis("画像-")
            + "\r\nCustom = keep me \r\nNUMBER=3\r\nno equals sign\r\n"
              "WWW=1\r\nALL=1\r\nNTT=0\r\nLINK=0\r\nEXTRACTION=0\r\nCB=0\r\nMEMO=\r\nBEFORE=\r\nAFTER=\r\n"
              "SEARCH=\r\nRULE1=0\r\nRULE2=1\r\nRULE3=0\r\nLINKTARGETS=1\r\nUTF8LIST=0\r\n\r\n[Tail]\r\nx="
              "1\r\n");
    EXPECT_EQ(Restarted()->Options.ShortcutPrefix, Sjis("画像-"));
}

TEST_F(Persistence, ListRoundTripKeepsEmptyItemsWithoutRecognizing)
{
    Fill(List, {"not a url", "", "www.a.example", ""});
    ASSERT_TRUE(W.Files.SaveBeforeQuitting());
    EXPECT_EQ(ReadBytes(Folder + "List.txt"), "not a url\r\n\r\nwww.a.example\r\n\r\n");
    EXPECT_EQ(Texts(Restarted()->List), (Strings{"not a url", "", "www.a.example", ""}));
}

TEST_F(Persistence, AListOfManyPiecesRoundTripsExactly)
{
    Strings texts;
    for (int i = 0; i < 30000; ++i)
        texts.push_back(i % 9999 == 0 ? "\x1A"
                                        "after a Ctrl-Z "
                                            + std::to_string(i)
                                      : "http://example.com/" + std::to_string(i));
    Fill(List, texts);
    ASSERT_TRUE(W.Files.SaveBeforeQuitting());
    EXPECT_EQ(Texts(Restarted()->List), texts);
}

TEST_F(Persistence, MemoJoiningRules)
{
    const auto roundTrip = [&](const std::string& memo) {
        W.MemoPad2 = memo;
        EXPECT_TRUE(W.Files.SaveBeforeQuitting());
        return Restarted()->MemoPad2;
    };
    EXPECT_EQ(roundTrip("one\r\n\r\nthree"), "one\r\n\r\nthree");
    EXPECT_EQ(ReadBytes(Folder + "Memo2.txt"), "one\r\n\r\nthree\r\n");
    EXPECT_EQ(roundTrip("\r\n\r\nthird\r\nfourth"), "third\r\nfourth");
    // A line that opens with Ctrl-Z would end the file for the reader.
    EXPECT_EQ(roundTrip("\x1A"
                        "first\r\n\x1A"
                        "second\r\nthird"),
              "\x1A"
              "first\r\n\x1A"
              "second\r\nthird");
    EXPECT_EQ(roundTrip("\r\n\r\n"), "");
    EXPECT_EQ(roundTrip(""), "");
    EXPECT_TRUE(fs::exists(Folder + "Memo2.txt"));
    EXPECT_EQ(ReadBytes(Folder + "Memo2.txt"), "");
    EXPECT_EQ(ReadBytes(Folder + "Memo1.txt"), "");
}

TEST_F(Persistence, EachFileSavesOnItsOwnAndTheUserDecidesAboutTheRest)
{
    fs::create_directory(Folder + "Linkrake.ini");  // the settings file cannot be replaced
    List.Append("http://a/");
    W.MemoPad1 = "memo";
    W.Options.MemoLine = "PVD";
    Services.ConfirmAnswer = false;
    EXPECT_FALSE(W.Files.SaveBeforeQuitting());
    EXPECT_EQ(Services.Errors, QStringList{Path("Linkrake.ini") + Utf8("：フォルダーです")});
    EXPECT_EQ(Services.Questions,
              QStringList{Utf8("保存できなかったファイルがあります。保存せずに終了しますか？")});
    EXPECT_EQ(ReadBytes(Folder + "List.txt"), "http://a/\r\n");
    EXPECT_EQ(ReadBytes(Folder + "Memo1.txt"), "memo\r\n");
    EXPECT_EQ(ReadBytes(Folder + "Memo2.txt"), "");
    EXPECT_TRUE(Services.Messages.isEmpty());  // no farewell while a file is unsaved

    Services.ConfirmAnswer = true;
    EXPECT_TRUE(W.Files.SaveBeforeQuitting());
    EXPECT_TRUE(fs::is_directory(Folder + "Linkrake.ini"));
    fs::remove(Folder + "Linkrake.ini");
    EXPECT_TRUE(W.Files.SaveBeforeQuitting());
    EXPECT_TRUE(fs::is_regular_file(Folder + "Linkrake.ini"));
    EXPECT_EQ(Services.Messages.size(), 1);  // the farewell, for the exact code only
    W.Options.MemoLine = "pvd";
    EXPECT_TRUE(W.Files.SaveBeforeQuitting());
    EXPECT_EQ(Services.Messages.size(), 1);
    EXPECT_EQ(Services.Questions.size(), 2);
}

TEST_F(Persistence, FilesThatExistButCannotBeReadAreReportedAndNeverReplaced)
{
    fs::create_directory(Folder + "Linkrake.ini");
    WriteBytes(Folder + "Linkrake.ini/inside", "x");
    fs::create_directory(Folder + "Memo2.txt");
    WriteBytes(Folder + "List.txt", "http://kept/\r\n");
    W.LoadWorkspace();
    EXPECT_EQ(W.Options.ShortcutPrefix, "URL-");
    EXPECT_EQ(Texts(List), Strings{"http://kept/"});
    W.Files.ReportUnreadableFiles();
    EXPECT_EQ(Services.Errors,
              QStringList{
                  Path("Linkrake.ini") + Utf8(" を読み込めません（フォルダーです）。終了時に保存しません。\n")
                  + Path("Memo2.txt") + Utf8(" を読み込めません（フォルダーです）。終了時に保存しません。")});

    Services.Errors.clear();
    List.Append("http://new/");
    EXPECT_TRUE(W.Files.SaveBeforeQuitting());
    EXPECT_EQ(Services.Errors, QStringList{Path("Linkrake.ini") + Utf8("：起動時に読み込めませんでした\n")
                                           + Path("Memo2.txt") + Utf8("：起動時に読み込めませんでした")});
    EXPECT_EQ(ReadBytes(Folder + "Linkrake.ini/inside"), "x");
    EXPECT_EQ(ReadBytes(Folder + "List.txt"), "http://kept/\r\nhttp://new/\r\n");

    // A missing file is not unreadable; a folder that is not there gets a
    // reason in the user's language, not the system's English.
    TFakeServices quiet;
    TWorkspace elsewhere(quiet, Folder + "gone/");
    elsewhere.LoadWorkspace();
    EXPECT_TRUE(elsewhere.Files.UnreadableFiles.empty());
    quiet.ConfirmAnswer = false;
    EXPECT_FALSE(elsewhere.Files.SaveBeforeQuitting());
    ASSERT_EQ(quiet.Errors.size(), 1);
    EXPECT_TRUE(quiet.Errors[0].startsWith(Path("gone/Linkrake.ini")
                                           + Utf8("：ファイルまたはフォルダーが見つかりません")))
        << quiet.Errors[0].toStdString();
    EXPECT_EQ(quiet.Errors[0].count(u'\n'), 3);
}

TEST_F(Persistence, ASettingsFileTooLargeOrNotRegularIsNotReadNorReplaced)
{
    WriteBytes(Folder + "Linkrake.ini", "[SYSTEM]\r\nPREFIX=big-\r\n");
    fs::resize_file(Folder + "Linkrake.ini", 16777217);  // sparse
    W.LoadWorkspace();
    EXPECT_EQ(W.Options.ShortcutPrefix, "URL-");
    ASSERT_EQ(W.Files.UnreadableFiles.size(), 1u);
    EXPECT_EQ(W.Files.UnreadableFiles[0].Reason, Utf8("16 MiB を超えています"));
    EXPECT_TRUE(W.Files.SaveBeforeQuitting());
    EXPECT_EQ(fs::file_size(Folder + "Linkrake.ini"), 16777217u);

    fs::remove(Folder + "Linkrake.ini");
    fs::create_symlink("/dev/zero", Folder + "Linkrake.ini");
    const auto next = Restarted();
    ASSERT_EQ(next->Files.UnreadableFiles.size(), 1u);
    EXPECT_EQ(next->Files.UnreadableFiles[0].Reason, Utf8("通常のファイルではありません"));
    EXPECT_TRUE(next->Files.SaveBeforeQuitting());
    EXPECT_TRUE(fs::is_symlink(Folder + "Linkrake.ini"));
}

// A FIFO without a writer would block the start for good.
TEST_F(Persistence, FifosAndDevicesInPlaceOfTheListAndMemosAreNotReadNorReplaced)
{
    mkfifo((Folder + "List.txt").c_str(), 0600);
    mkfifo((Folder + "Memo1.txt").c_str(), 0600);
    fs::create_symlink("/dev/zero", Folder + "Memo2.txt");
    W.LoadWorkspace();
    ASSERT_EQ(W.Files.UnreadableFiles.size(), 3u);
    for (const TFileProblem& problem : W.Files.UnreadableFiles)
        EXPECT_EQ(problem.Reason, Utf8("通常のファイルではありません")) << problem.Path;
    List.Append("http://new/");
    W.MemoPad1 = "typed";
    Services.ConfirmAnswer = true;
    EXPECT_TRUE(W.Files.SaveBeforeQuitting());
    EXPECT_TRUE(fs::is_fifo(Folder + "List.txt"));
    EXPECT_TRUE(fs::is_fifo(Folder + "Memo1.txt"));
    EXPECT_TRUE(fs::is_symlink(Folder + "Memo2.txt"));
}

TEST_F(Persistence, AccessDeniedAtStartKeepsTheFileAsItWas)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "root reads every file";
    WriteBytes(Folder + "List.txt", "http://private/\r\n");
    WriteBytes(Folder + "Memo1.txt", "secret\r\n");
    chmod((Folder + "List.txt").c_str(), 0);
    chmod((Folder + "Memo1.txt").c_str(), 0);
    W.LoadWorkspace();
    ASSERT_EQ(W.Files.UnreadableFiles.size(), 2u);
    EXPECT_EQ(W.Files.UnreadableFiles[0].Reason, Utf8("アクセスが拒否されました"));
    List.Append("http://new/");
    Services.ConfirmAnswer = true;
    EXPECT_TRUE(W.Files.SaveBeforeQuitting());
    chmod((Folder + "List.txt").c_str(), 0600);
    chmod((Folder + "Memo1.txt").c_str(), 0600);
    EXPECT_EQ(ReadBytes(Folder + "List.txt"), "http://private/\r\n");
    EXPECT_EQ(ReadBytes(Folder + "Memo1.txt"), "secret\r\n");
}

TEST_F(Persistence, AnUneditedMemoIsWrittenBackFromTheBytesRead)
{
    // Invalid Shift_JIS, a lone CR, an LF line end, no final line break.
    WriteBytes(Folder + "Memo1.txt", "\r\n\r\nfirst \x81\x7f\xa0 bad\rlone\nsecond\x82");
    WriteBytes(Folder + "Memo2.txt", "\x81\x7f\r\n");
    W.LoadWorkspace();
    W.MemoPad2 = "changed";
    ASSERT_TRUE(W.Files.SaveBeforeQuitting());
    EXPECT_EQ(ReadBytes(Folder + "Memo1.txt"), "first \x81\x7f\xa0 bad\rlone\r\nsecond\x82\r\n");
    EXPECT_EQ(ReadBytes(Folder + "Memo2.txt"), "changed\r\n");

    EXPECT_EQ(MemoFileFromBytesRead("\r\n\r\r\n\n"), "");
    EXPECT_EQ(MemoFileFromBytesRead(""), "");
    EXPECT_EQ(MemoFileFromBytesRead("a"), "a\r\n");
    EXPECT_EQ(MemoFileFromBytesRead("a\r\n\r\n"), "a\r\n\r\n");
    EXPECT_EQ(MemoFileFromBytesRead("\n \nb"), " \r\nb\r\n");
}

TEST_F(Persistence, StartRemovesOnlyOldTemporariesOfItsOwnSaves)
{
    const std::string old = Folder + ".linkrake-saving-List.txt.Ab12Cd";
    const std::string fresh = Folder + ".linkrake-saving-Memo1.txt.Ef34Gh";
    const std::string users = Folder + "List.txt.Ij56Kl";
    for (const std::string& path : {old, fresh, users})
        WriteBytes(path, "partial");
    fs::create_directory(Folder + ".linkrake-saving-folder.Mn78Op");
    const auto twoMinutesAgo = fs::file_time_type::clock::now() - std::chrono::minutes(2);
    for (const std::string& path : {old, users, Folder + ".linkrake-saving-folder.Mn78Op"})
        fs::last_write_time(path, twoMinutesAgo);
    W.LoadWorkspace();
    EXPECT_FALSE(fs::exists(old));
    EXPECT_TRUE(fs::exists(fresh));  // another copy of the program may be saving it
    EXPECT_TRUE(fs::exists(users));
    EXPECT_TRUE(fs::exists(Folder + ".linkrake-saving-folder.Mn78Op"));
}

TEST(SaveTemporaries, OnlyTheNamesTheSavesMakeCount)
{
    const struct {
        const char* Name;
        bool Ours;
    } cases[] = {
        {".linkrake-saving-List.txt.Ab12Cd", true},   {".linkrake-saving-List.txt.Ab12C", false},
        {".linkrake-saving-List.txt.Ab12Cde", false}, {".linkrake-saving-List.txt.Ab-2Cd", false},
        {".linkrake-saving-List.txtxAb12Cd", false},  {".linkrake-saving-userfile.bak", false},
        {".linkrake-saving-Memo1.txt.Ab12Cd", false}, {"linkrake-saving-List.txt.Ab12Cd", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IsTemporaryOf(c.Name, "List.txt"), c.Ours) << c.Name;
}

TEST_F(Persistence, CleanupBesideALinkedFileSparesTheUsersOwnFiles)
{
    QTemporaryDir other;
    const std::string elsewhere = other.path().toStdString() + "/";
    WriteBytes(elsewhere + "mylist.txt", "http://kept/\r\n");
    fs::create_symlink(elsewhere + "mylist.txt", Folder + "List.txt");
    const std::string users = elsewhere + ".linkrake-saving-userfile.bak";
    const std::string ours = elsewhere + ".linkrake-saving-mylist.txt.Qr90St";
    for (const std::string& path : {users, ours}) {
        WriteBytes(path, "x");
        fs::last_write_time(path, fs::file_time_type::clock::now() - std::chrono::minutes(2));
    }
    W.LoadWorkspace();
    EXPECT_TRUE(fs::exists(users));
    EXPECT_FALSE(fs::exists(ours));
}

TEST_F(Persistence, NewFilesArePrivateAndOldOnesKeepTheirMode)
{
    WriteBytes(Folder + "Memo1.txt", "old\r\n");
    chmod((Folder + "Memo1.txt").c_str(), 0644);
    const mode_t savedMask = umask(022);
    W.LoadWorkspace();
    ASSERT_TRUE(W.Files.SaveBeforeQuitting());
    umask(savedMask);
    for (const char* name : {"Linkrake.ini", "List.txt", "Memo2.txt"})
        EXPECT_EQ(fs::status(Folder + name).permissions(), fs::perms(0600)) << name;
    EXPECT_EQ(fs::status(Folder + "Memo1.txt").permissions(), fs::perms(0644));
}

TEST_F(Persistence, AFullDiskKeepsTheOldFileWhole)
{
    WriteBytes(Folder + "List.txt", "http://old/\r\n");
    for (int i = 0; i < 20000; ++i)
        List.Append("http://example.com/a/long/enough/path/" + std::to_string(i));
    // Writes past 300 KB fail with EFBIG, as on a full disk: the list is
    // written a piece at a time, and the failure comes in a later piece.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    rlimit limited = saved;
    limited.rlim_cur = 300000;
    setrlimit(RLIMIT_FSIZE, &limited);
    EXPECT_THROW(W.Files.SaveListFile(), EInOutError);
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
    W.Files.SaveMemo(1);
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
