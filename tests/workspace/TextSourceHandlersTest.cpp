#include <gtest/gtest.h>

#include <cerrno>

#include "WorkspaceFixture.h"

namespace {

// A start bound of 225 digits makes the number formatter refuse the range.
const std::string RefusedLine = "http://h/a[" + std::string(225, '0') + "-1]";
const QString RefusedReport = Utf8("書式文字列が長すぎます.");

struct TextSources : TWorkspaceFixture, ::testing::Test { };

TEST_F(TextSources, FileButtonReadsTheChosenFileOrReportsTheCancel)
{
    WriteBytes(Folder + "in.txt", "see http://a.example/1 here\r\nhttp://b.example/2\r\n");
    Services.Files = {Folder + "in.txt", std::nullopt};
    W.Run([&] { W.InputTextFile(); });
    EXPECT_EQ(Texts(List), (Strings{"http://a.example/1", "http://b.example/2"}));
    EXPECT_EQ(W.StatusLine(), Utf8("正常＞ﾃｷｽﾄﾌｧｲﾙよりURLを抽出しました。"));
    EXPECT_EQ(Services.Filters, QStringList{Utf8("ﾃｷｽﾄﾌｧｲﾙ(*.txt);;すべてのﾌｧｲﾙ(*.*)")});
    W.Run([&] { W.InputTextFile(); });
    EXPECT_EQ(W.StatusLine(), Utf8("報告＞URLの抽出を中止しました。"));
    EXPECT_EQ(List.Count(), 2u);
}

TEST_F(TextSources, FailuresKeepEarlierEntriesAndTheStatus)
{
    W.Options.RangeExpansion = true;
    WriteBytes(Folder + "in.txt", "http://a.example/\r\n" + RefusedLine + "\r\nhttp://never.example/\r\n");
    Services.Files = {Folder + "in.txt", Folder + "missing.txt"};
    W.SetStatus("before");
    W.Run([&] { W.InputTextFile(); });
    W.Run([&] { W.InputTextFile(); });
    EXPECT_EQ(Texts(List), Strings{"http://a.example/"});
    EXPECT_EQ(W.StatusLine(), "before");
    EXPECT_EQ(Services.Errors, (QStringList{RefusedReport, Report(FileErrorMessage(ENOENT))}));
}

TEST_F(TextSources, DroppedFilesAreReadInOrderAndAFailureStopsTheRest)
{
    WriteBytes(Folder + "1.txt", "http://one.example/\r\n");
    WriteBytes(Folder + "2.txt", "http://two.example/");
    W.Run([&] { W.ReadDroppedFiles({Folder + "2.txt", Folder + "1.txt"}); });
    EXPECT_EQ(Texts(List), (Strings{"http://two.example/", "http://one.example/"}));
    EXPECT_EQ(W.StatusLine(), Utf8("報告＞ﾄﾞﾛｯﾌﾟされたﾌｧｲﾙの解析を終了しました。"));
    W.Run([&] { W.ReadDroppedFiles({Folder + "1.txt", Folder + "gone.txt", Folder + "2.txt"}); });
    EXPECT_EQ(List.Count(), 3u);
    EXPECT_EQ(Services.Errors.size(), 1);
}

TEST_F(TextSources, Utf16FilesAreReadAndUtf32IsRefusedNamingTheFile)
{
    WriteBytes(Folder + "16.txt", std::string("\xFE\xFF\0h\0t\0t\0p\0:\0/\0/\0u\0/\x30\x1C", 22));
    WriteBytes(Folder + "32.txt", std::string("\xFF\xFE\0\0h\0\0\0", 8));
    W.Run([&] { W.ReadDroppedFiles({Folder + "16.txt", Folder + "32.txt"}); });
    EXPECT_EQ(Texts(List), Strings{"http://u/%E3%80%9C"});
    EXPECT_EQ(Services.Errors,
              QStringList{QString::fromStdString(Folder)
                          + Utf8("32.txt を読み込めません（UTF-32 のファイルには対応していません）。")});
}

TEST_F(TextSources, ClipboardReportsEveryOutcomeOnTheStatusLineOnly)
{
    Services.Clipboard = "look at http://a.example/x now\r\nhttp://b.example/y";
    W.PasteClipboard();
    EXPECT_EQ(Texts(List), (Strings{"http://a.example/x", "http://b.example/y"}));
    EXPECT_EQ(W.StatusLine(), Utf8("正常＞CBよりURLを抽出しました。"));
    const auto extract = [&] { return W.ExtractFromClipboard(*Services.LookAtClipboard()); };

    Services.HasText = false;
    EXPECT_FALSE(extract());
    EXPECT_EQ(W.StatusLine(), Utf8("エラー＞CBの内容がﾃｷｽﾄではありません。"));
    Services.HasText = true;
    Services.ReadFails = true;
    EXPECT_FALSE(extract());
    EXPECT_EQ(W.StatusLine(), Utf8("エラー＞CBの内容が読み込めませんでした。"));

    // A refused range is caught as well; the entries before it stay.
    Services.ReadFails = false;
    W.Options.RangeExpansion = true;
    Services.Clipboard = "http://c.example/\n" + RefusedLine;
    EXPECT_FALSE(extract());
    EXPECT_EQ(W.StatusLine(), Utf8("エラー＞CBの内容が読み込めませんでした。"));
    EXPECT_EQ(List.Count(), 3u);
    EXPECT_TRUE(Services.Errors.isEmpty());
}

TEST_F(TextSources, AddButtonResetsTheEntryLineOnlyWhenTheLineWasTaken)
{
    W.Run([&] { W.AddEnteredUrl(); });
    EXPECT_EQ(Texts(List), Strings{"http://"});
    EXPECT_EQ(W.StatusLine(), Utf8("報告＞URLを追加しました。"));

    W.UrlEntry.clear();
    W.Run([&] { W.AddEnteredUrl(); });
    EXPECT_EQ(W.StatusLine(), Utf8("エラー＞追加するURLが入力されていません。"));

    W.Options.RangeExpansion = true;
    W.UrlEntry = RefusedLine;
    W.Run([&] { W.AddEnteredUrl(); });
    EXPECT_EQ(W.UrlEntry, RefusedLine);
    EXPECT_EQ(Services.Errors, QStringList{RefusedReport});
    EXPECT_EQ(W.StatusLine(), Utf8("エラー＞追加するURLが入力されていません。"));
}

}  // namespace
