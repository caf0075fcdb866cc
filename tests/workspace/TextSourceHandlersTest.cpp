#include <gtest/gtest.h>

#include <cerrno>

#include "FakeServices.h"
#include "TestFiles.h"
#include "Workspace.h"

namespace {

using Strings = std::vector<std::string>;

QString Utf8(const char* text) { return QString::fromUtf8(text); }

QString FileNotFoundReport() { return TWorkspace::DefaultErrorText(QString::fromStdString(FileErrorMessage(ENOENT))); }

// A start bound of 225 digits makes the number formatter refuse the range.
std::string RefusedRangeLine() { return "http://host/a[" + std::string(225, '0') + "-1]"; }

class TextSources : public ::testing::Test {
protected:
    TTestFolder Folder;
    TFakeServices Services;
    TWorkspace Workspace{Services, Folder.Path()};
};

TEST_F(TextSources, FileButtonExtractsFromTheChosenFileOrReportsTheCancel)
{
    WriteBytes(Folder.File("in.txt"), "see http://a.example/1 here\r\nhttp://b.example/2\r\n");
    Services.FileAnswers = {Folder.File("in.txt"), std::nullopt};
    Workspace.Run([&] { Workspace.Button1Click(); });
    EXPECT_EQ(Texts(Workspace.List), (Strings{"http://a.example/1", "http://b.example/2"}));
    EXPECT_EQ(Workspace.StatusLine, Utf8("正常＞ﾃｷｽﾄﾌｧｲﾙよりURLを抽出しました。"));
    EXPECT_EQ(Services.DialogFilters[0], Utf8("ﾃｷｽﾄﾌｧｲﾙ(*.txt)|*.txt|すべてのﾌｧｲﾙ(*.*)|*.*"));

    Workspace.Run([&] { Workspace.Button1Click(); });
    EXPECT_EQ(Workspace.StatusLine, Utf8("報告＞URLの抽出を中止しました。"));
    EXPECT_EQ(Workspace.List.Count(), 2u);
}

TEST_F(TextSources, AMissingFileIsReportedAndLeavesListAndStatusAlone)
{
    Workspace.List.Append("kept");
    Workspace.StatusLine = "before";
    Services.FileAnswers = {Folder.File("missing.txt")};
    Workspace.Run([&] { Workspace.Button1Click(); });
    EXPECT_EQ(Services.Errors, QStringList{FileNotFoundReport()});
    EXPECT_EQ(Workspace.StatusLine, "before");
    EXPECT_EQ(Texts(Workspace.List), Strings{"kept"});
}

TEST_F(TextSources, ARefusedRangeStopsTheFileButKeepsTheEntriesBeforeIt)
{
    Workspace.Options.EXTRACTION = true;
    WriteBytes(Folder.File("in.txt"), "http://a.example/\r\n" + RefusedRangeLine() + "\r\nhttp://c.example/\r\n");
    Services.FileAnswers = {Folder.File("in.txt")};
    Workspace.StatusLine = "before";
    Workspace.Run([&] { Workspace.Button1Click(); });
    EXPECT_EQ(Texts(Workspace.List), Strings{"http://a.example/"});
    EXPECT_EQ(Workspace.StatusLine, "before");
    EXPECT_EQ(Services.Errors, QStringList{Utf8("書式文字列が長すぎます.")});
}

TEST_F(TextSources, DroppedFilesAreReadInOrderAndAFailureStopsTheRest)
{
    WriteBytes(Folder.File("1.txt"), "http://one.example/\r\n");
    WriteBytes(Folder.File("2.txt"), "http://two.example/");
    WriteBytes(Folder.File("3.txt"), "http://three.example/\n");
    Workspace.Run([&] { Workspace.WMDropFiles({Folder.File("3.txt"), Folder.File("1.txt"), Folder.File("2.txt")}); });
    EXPECT_EQ(Texts(Workspace.List), (Strings{"http://three.example/", "http://one.example/", "http://two.example/"}));
    EXPECT_EQ(Workspace.StatusLine, Utf8("報告＞ﾄﾞﾛｯﾌﾟされたﾌｧｲﾙの解析を終了しました。"));

    Workspace.List.Clear();
    Workspace.StatusLine = "before";
    Workspace.Run([&] { Workspace.WMDropFiles({Folder.File("1.txt"), Folder.File("gone.txt"), Folder.File("2.txt")}); });
    EXPECT_EQ(Texts(Workspace.List), Strings{"http://one.example/"});
    EXPECT_EQ(Workspace.StatusLine, "before");
    EXPECT_EQ(Services.Errors, QStringList{FileNotFoundReport()});
}

TEST_F(TextSources, ClipboardTextOfTwoLinesYieldsTwoEntries)
{
    Services.ClipboardContents = "look at http://a.example/x now\r\nhttp://b.example/y";
    Workspace.Run([&] { Workspace.Button2Click(); });
    EXPECT_EQ(Texts(Workspace.List), (Strings{"http://a.example/x", "http://b.example/y"}));
    EXPECT_EQ(Workspace.StatusLine, Utf8("正常＞CBよりURLを抽出しました。"));
}

TEST_F(TextSources, ClipboardFailuresOnlyChangeTheStatus)
{
    Workspace.List.Append("kept");
    Services.HasText = false;
    EXPECT_FALSE(Workspace.ExtractFromClipboard());
    EXPECT_EQ(Workspace.StatusLine, Utf8("エラー＞CBの内容がﾃｷｽﾄではありません。"));

    Services.HasText = true;
    Services.ClipboardReadFails = true;
    EXPECT_FALSE(Workspace.ExtractFromClipboard());
    EXPECT_EQ(Workspace.StatusLine, Utf8("エラー＞CBの内容が読み込めませんでした。"));

    // A refused range is caught too; the entries before it stay.
    Services.ClipboardReadFails = false;
    Workspace.Options.EXTRACTION = true;
    Services.ClipboardContents = "http://a.example/\n" + RefusedRangeLine();
    EXPECT_FALSE(Workspace.ExtractFromClipboard());
    EXPECT_EQ(Workspace.StatusLine, Utf8("エラー＞CBの内容が読み込めませんでした。"));
    EXPECT_EQ(Texts(Workspace.List), (Strings{"kept", "http://a.example/"}));
    EXPECT_TRUE(Services.Errors.isEmpty());
}

TEST_F(TextSources, AddButtonTakesTheEntryLineAndResetsIt)
{
    Workspace.Run([&] { Workspace.Button3Click(); });
    EXPECT_EQ(Texts(Workspace.List), Strings{"http://"});
    EXPECT_EQ(Workspace.UrlEntry, "http://");
    EXPECT_EQ(Workspace.StatusLine, Utf8("報告＞URLを追加しました。"));

    Workspace.UrlEntry = "no url here";
    Workspace.Run([&] { Workspace.Button3Click(); });
    EXPECT_EQ(Workspace.List.Count(), 1u);
    EXPECT_EQ(Workspace.UrlEntry, "http://");
    EXPECT_EQ(Workspace.StatusLine, Utf8("報告＞URLを追加しました。"));

    Workspace.UrlEntry.clear();
    Workspace.Run([&] { Workspace.Button3Click(); });
    EXPECT_EQ(Workspace.StatusLine, Utf8("エラー＞追加するURLが入力されていません。"));
}

TEST_F(TextSources, AddButtonKeepsTheEntryLineWhenTheLineIsRefused)
{
    Workspace.Options.EXTRACTION = true;
    Workspace.UrlEntry = RefusedRangeLine();
    Workspace.StatusLine = "before";
    Workspace.Run([&] { Workspace.Button3Click(); });
    EXPECT_EQ(Workspace.UrlEntry, RefusedRangeLine());
    EXPECT_EQ(Workspace.StatusLine, "before");
    EXPECT_EQ(Services.Errors.size(), 1);
}

}  // namespace
