#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>

#include "Cp932.h"
#include "FakeServices.h"
#include "TestFiles.h"
#include "Workspace.h"

namespace {

using Strings = std::vector<std::string>;

QString Utf8(const char* text) { return QString::fromUtf8(text); }

QString FileErrorReport(int code) { return TWorkspace::DefaultErrorText(QString::fromStdString(FileErrorMessage(code))); }

class Exports : public ::testing::Test {
protected:
    TTestFolder ProgramFolder;
    TTestFolder Target;
    TFakeServices Services;
    TWorkspace Workspace{Services, ProgramFolder.Path()};
    TUrlList& List = Workspace.List;

    void SetUp() override { Services.ClipIgnoreToWatch = &Workspace.ClipIgnore; }
};

// ---- Shortcut files ----

TEST_F(Exports, ShortcutFilesAreNumberedAndHoldTheUrlExactly)
{
    Fill(List, {"http://a.example/", "http://b.example/?q=\"<x>\""});
    // A longer file from an earlier export is overwritten, not appended to.
    WriteBytes(Target.File("URL-0001.url"), std::string(200, 'z'));
    Services.FolderAnswers = {Target.Path()};
    Workspace.Run([&] { Workspace.Button6Click(); });
    EXPECT_EQ(ReadBytes(Target.File("URL-0001.url")), "[InternetShortcut]\r\nURL=http://a.example/\r\n");
    EXPECT_EQ(ReadBytes(Target.File("URL-0002.url")), "[InternetShortcut]\r\nURL=http://b.example/?q=\"<x>\"\r\n");
    EXPECT_EQ(Services.FolderTitles, QStringList{Utf8("ディレクトリの選択")});
    EXPECT_TRUE(Services.Questions.isEmpty());
    EXPECT_EQ(Workspace.StatusLine, Utf8("正常＞ｼｮｰﾄｶｯﾄの出力が終了しました。"));
}

TEST_F(Exports, ShortcutNamesFollowPrefixAndDigitCount)
{
    Fill(List, Strings(10, "http://x/"));
    Workspace.Options.PREFIX = Sjis("リンク");
    Workspace.Options.NUMBER = 1;
    Services.FolderAnswers = {Target.Path(), Target.Path()};
    Workspace.Run([&] { Workspace.Button6Click(); });
    EXPECT_TRUE(std::filesystem::exists(Target.File("リンク1.url")));
    EXPECT_TRUE(std::filesystem::exists(Target.File("リンク10.url")));

    Workspace.Options.PREFIX.clear();
    Workspace.Options.NUMBER = 4;
    Workspace.Run([&] { Workspace.Button6Click(); });
    EXPECT_TRUE(std::filesystem::exists(Target.File("0001.url")));
    EXPECT_TRUE(std::filesystem::exists(Target.File("0010.url")));
}

TEST_F(Exports, AMissingFolderIsCreatedOnlyWhenTheUserAgrees)
{
    Fill(List, {"http://a/"});
    const std::string nested = Target.File("new/deeper");
    Services.FolderAnswers = {nested, nested};
    Services.ConfirmAnswer = false;
    Workspace.Run([&] { Workspace.Button6Click(); });
    EXPECT_EQ(Services.Questions, QStringList{Utf8("指定されたディレクトリが存在しません。作成しますか？")});
    EXPECT_FALSE(std::filesystem::exists(nested));
    EXPECT_EQ(Workspace.StatusLine, Utf8("報告＞ｼｮｰﾄｶｯﾄ出力が中止されました。"));

    Services.ConfirmAnswer = true;
    Workspace.Run([&] { Workspace.Button6Click(); });
    EXPECT_EQ(ReadBytes(nested + "/URL-0001.url"), "[InternetShortcut]\r\nURL=http://a/\r\n");
    EXPECT_EQ(Workspace.StatusLine, Utf8("正常＞ｼｮｰﾄｶｯﾄの出力が終了しました。"));
}

TEST_F(Exports, ShortcutExportRefusalsAndFailures)
{
    Workspace.Run([&] { Workspace.Button6Click(); });
    EXPECT_EQ(Workspace.StatusLine, Utf8("エラー＞ｼｮｰﾄｶｯﾄを出力するURLﾃﾞｰﾀがありません。"));
    EXPECT_TRUE(Services.FolderTitles.isEmpty());

    Fill(List, {"http://a/"});
    Workspace.Run([&] { Workspace.Button6Click(); });  // chooser cancelled
    EXPECT_EQ(Workspace.StatusLine, Utf8("報告＞ｼｮｰﾄｶｯﾄ出力が中止されました。"));

    // A plain file where the folder should be: the write fails and is reported.
    WriteBytes(Target.File("plain"), "x");
    Services.FolderAnswers = {Target.File("plain")};
    Workspace.StatusLine = "before";
    Workspace.Run([&] { Workspace.Button6Click(); });
    EXPECT_EQ(Services.Errors, QStringList{FileErrorReport(ENOTDIR)});
    EXPECT_EQ(Workspace.StatusLine, "before");
}

// ---- URL list file and link page ----

TEST_F(Exports, ListFileHoldsOneItemPerLine)
{
    Workspace.Run([&] { Workspace.Button7Click(); });
    EXPECT_EQ(Workspace.StatusLine, Utf8("エラー＞ﾘｽﾄ出力するURLﾃﾞｰﾀがありません。"));

    Fill(List, {"http://a/", "", "http://" + Sjis("表") + "/"});
    Services.FileAnswers = {Target.File("out.txt"), std::nullopt};
    Workspace.Run([&] { Workspace.Button7Click(); });
    EXPECT_EQ(ReadBytes(Target.File("out.txt")), "http://a/\r\n\r\nhttp://\x95\x5c/\r\n");
    EXPECT_EQ(Services.DialogFilters, QStringList{Utf8("ﾃｷｽﾄﾌｧｲﾙ(*.txt)|*.txt|すべてのﾌｧｲﾙ(*.*)|*.*")});
    EXPECT_EQ(Services.ProposedNames, QStringList{"list.txt"});
    EXPECT_EQ(Workspace.StatusLine, Utf8("報告＞URLﾘｽﾄ出力完了。"));

    Workspace.Run([&] { Workspace.Button7Click(); });
    EXPECT_EQ(Workspace.StatusLine, Utf8("報告＞URLﾘｽﾄの出力を中止しました。"));
}

TEST_F(Exports, ListFileWriteFailureIsReportedAndStatusKept)
{
    Fill(List, {"http://a/"});
    Services.FileAnswers = {Target.Path()};  // a folder, not a file
    Workspace.StatusLine = "before";
    Workspace.Run([&] { Workspace.Button7Click(); });
    EXPECT_EQ(Services.Errors, QStringList{FileErrorReport(EISDIR)});
    EXPECT_EQ(Workspace.StatusLine, "before");
}

const std::string ExpectedPage =
    "<html><head><title>URL\x88\xea\x97\x97</title>\r\n"
    "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=Shift_JIS\">\r\n"
    "</head><body bgcolor=\"#FFFFFF\"><ol>\r\n"
    "<li><a href=\"http://a/\" target=\"_blank\">http://a/</a></li>\r\n"
    "<li><a href=\"http://b/\"<i>\" target=\"_blank\">http://b/\"<i></a></li>\r\n"
    "</ol></body></html>\r\n";

TEST_F(Exports, LinkPageThroughTheSaveDialog)
{
    Workspace.Run([&] { Workspace.Button10Click(); });
    EXPECT_EQ(Workspace.StatusLine, Utf8("エラー＞ﾘﾝｸ集に掲載するURLﾃﾞｰﾀがありません。"));

    Fill(List, {"http://a/", "http://b/\"<i>"});
    Services.FileAnswers = {Target.File("page.html"), std::nullopt};
    Workspace.Run([&] { Workspace.Button10Click(); });
    EXPECT_EQ(ReadBytes(Target.File("page.html")), ExpectedPage);
    EXPECT_EQ(Services.DialogFilters, QStringList{Utf8("htmlﾌｧｲﾙ(*.html)|*.html|すべてのﾌｧｲﾙ(*.*)|*.*")});
    EXPECT_EQ(Services.ProposedNames, QStringList{"link.html"});
    EXPECT_EQ(Workspace.StatusLine, Utf8("報告＞リンク集作成完了。"));

    Workspace.Run([&] { Workspace.Button10Click(); });
    EXPECT_EQ(Workspace.StatusLine, Utf8("報告＞リンク集の作成を中止しました。"));
}

TEST_F(Exports, LinkModeWritesTheFixedPageWithoutAsking)
{
    Fill(List, {"http://a/", "http://b/\"<i>"});
    Workspace.Options.LINK = true;
    Workspace.Run([&] { Workspace.Button10Click(); });
    EXPECT_EQ(ReadBytes(ProgramFolder.File("link.htm")), ExpectedPage);
    EXPECT_TRUE(Services.DialogFilters.isEmpty());
    EXPECT_EQ(Workspace.StatusLine, Utf8("報告＞リンク集作成完了。"));
}

// ---- Clipboard copies ----

TEST_F(Exports, WholeListCopyJoinsWithLineBreaksInsideTheIgnoreBracket)
{
    Workspace.Run([&] { Workspace.Button8Click(); });
    EXPECT_EQ(Workspace.StatusLine, Utf8("エラー＞CBに転送するURLがありません。"));
    EXPECT_TRUE(Services.ClipboardWrites.empty());

    Fill(List, {"http://a/", "", "http://b/"});
    Workspace.Run([&] { Workspace.Button8Click(); });
    EXPECT_EQ(Services.ClipboardWrites, Strings{"http://a/\r\n\r\nhttp://b/"});
    EXPECT_EQ(Services.ClipIgnoreDuringWrites, std::vector<bool>{true});
    EXPECT_FALSE(Workspace.ClipIgnore);
    EXPECT_EQ(Workspace.StatusLine, Utf8("報告＞CBにURLﾘｽﾄを転送しました。"));

    // An ignore flag that was already on (monitoring off) stays on.
    Workspace.ClipIgnore = true;
    Workspace.Run([&] { Workspace.Button8Click(); });
    EXPECT_TRUE(Workspace.ClipIgnore);
}

TEST_F(Exports, SelectedCopySkipsLeadingEmptyItemsAndEndsWithoutBreak)
{
    Workspace.Run([&] { Workspace.Button12Click(); });
    EXPECT_EQ(Workspace.StatusLine, Utf8("エラー＞CBに転送するURLが選択されていません。"));

    Fill(List, {"", "http://a/", "http://skip/", "http://c/"});
    for (std::size_t i : {0, 1, 3})
        List.SetSelected(i, true);
    Workspace.Run([&] { Workspace.Button12Click(); });
    EXPECT_EQ(Services.ClipboardWrites, Strings{"http://a/\r\nhttp://c/"});
    EXPECT_EQ(Services.ClipIgnoreDuringWrites, std::vector<bool>{true});
    EXPECT_FALSE(Workspace.ClipIgnore);
    EXPECT_EQ(Workspace.StatusLine, Utf8("報告＞選択中のURLをCBに転送しました。"));

    List.SetSelected(0, false);
    List.SetSelected(1, false);
    Workspace.Run([&] { Workspace.Button12Click(); });
    EXPECT_EQ(Services.ClipboardWrites.back(), "http://c/");
}

TEST_F(Exports, DoubleClickCopiesTheFocusedItem)
{
    Fill(List, {"http://a/", "http://b/"});
    Workspace.Run([&] { Workspace.ListBox1DblClick(); });
    EXPECT_EQ(Workspace.StatusLine, Utf8("エラー＞CBに転送するURLが選択されていません。"));
    List.SetFocused(1);
    Workspace.Run([&] { Workspace.ListBox1DblClick(); });
    EXPECT_EQ(Services.ClipboardWrites, Strings{"http://b/"});
    EXPECT_EQ(Services.ClipIgnoreDuringWrites, std::vector<bool>{true});
    EXPECT_FALSE(Workspace.ClipIgnore);
    EXPECT_EQ(Workspace.StatusLine, Utf8("報告＞選択中のURLをCBに転送しました。"));
}

TEST_F(Exports, AFailedClipboardWriteStillRestoresTheIgnoreFlag)
{
    class TFailingClipboard : public TFakeServices {
    public:
        void SetClipboardText(const std::string&) override { throw std::runtime_error("clipboard locked"); }
    } failing;
    TWorkspace workspace(failing, ProgramFolder.Path());
    workspace.List.Append("http://a/");
    workspace.Run([&] { workspace.Button8Click(); });
    EXPECT_FALSE(workspace.ClipIgnore);
    EXPECT_EQ(failing.Errors, QStringList{"clipboard locked."});
}

}  // namespace
