#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <regex>

#include "WorkspaceFixture.h"

namespace {

struct Exports : TWorkspaceFixture, ::testing::Test {
    Exports() { Services.Monitoring = &W.Monitoring; }
};

TEST_F(Exports, ShortcutFilesHoldTheUrlAndFollowPrefixAndDigitCount)
{
    W.CreateShortcuts();
    EXPECT_EQ(W.StatusLine(), Utf8("エラー＞ｼｮｰﾄｶｯﾄを出力するURLﾃﾞｰﾀがありません。"));
    Fill(List, {"http://a/", "http://b/?q=\"<x>\""});
    for (int i = 0; i < 8; ++i)
        List.Append("http://c/");
    WriteBytes(Folder + "URL-1.url", std::string(200, 'z'));  // overwritten, not appended to
    W.Options.ShortcutPrefix = Sjis("リンク");
    Services.Folders = {Folder, Folder, Folder};
    W.Run([&] { W.CreateShortcuts(); });
    EXPECT_TRUE(std::filesystem::exists(Folder + "リンク0010.url"));
    W.Options.ShortcutPrefix = "URL-";
    W.Options.ShortcutDigits = 1;
    W.Run([&] { W.CreateShortcuts(); });
    EXPECT_EQ(ReadBytes(Folder + "URL-1.url"), "[InternetShortcut]\r\nURL=http://a/\r\n");
    EXPECT_EQ(ReadBytes(Folder + "URL-2.url"), "[InternetShortcut]\r\nURL=http://b/?q=\"<x>\"\r\n");
    EXPECT_TRUE(std::filesystem::exists(Folder + "URL-10.url"));
    W.Options.ShortcutPrefix.clear();
    W.Options.ShortcutDigits = 4;
    W.Run([&] { W.CreateShortcuts(); });
    EXPECT_EQ(ReadBytes(Folder + "0001.url"), "[InternetShortcut]\r\nURL=http://a/\r\n");
    EXPECT_EQ(Services.Titles[0], Utf8("ディレクトリの選択"));
    EXPECT_TRUE(Services.Questions.isEmpty());
    EXPECT_EQ(W.StatusLine(), Utf8("正常＞ｼｮｰﾄｶｯﾄの出力が終了しました。"));
}

TEST_F(Exports, AMissingFolderIsCreatedOnlyWhenTheUserAgrees)
{
    Fill(List, {"http://a/"});
    const std::string nested = Folder + "new/deeper";
    Services.Folders = {std::nullopt, nested, nested, Folder + "List.txt"};
    W.Run([&] { W.CreateShortcuts(); });
    EXPECT_EQ(W.StatusLine(), Utf8("報告＞ｼｮｰﾄｶｯﾄ出力が中止されました。"));
    Services.ConfirmAnswer = false;
    W.SetStatus({});
    W.Run([&] { W.CreateShortcuts(); });
    EXPECT_EQ(Services.Questions, QStringList{Utf8("指定されたディレクトリが存在しません。作成しますか？")});
    EXPECT_FALSE(std::filesystem::exists(nested));
    EXPECT_EQ(W.StatusLine(), Utf8("報告＞ｼｮｰﾄｶｯﾄ出力が中止されました。"));
    Services.ConfirmAnswer = true;
    W.Run([&] { W.CreateShortcuts(); });
    EXPECT_EQ(ReadBytes(nested + "/URL-0001.url"), "[InternetShortcut]\r\nURL=http://a/\r\n");

    // A plain file where the folder should be: reported, status kept.
    WriteBytes(Folder + "List.txt", "x");
    W.Run([&] { W.CreateShortcuts(); });
    EXPECT_EQ(Services.Errors, QStringList{Report(FileErrorMessage(ENOTDIR))});
    EXPECT_EQ(W.StatusLine(), Utf8("正常＞ｼｮｰﾄｶｯﾄの出力が終了しました。"));
}

TEST_F(Exports, ListFileHoldsOneItemPerLine)
{
    W.CreateUrlListFile();
    EXPECT_EQ(W.StatusLine(), Utf8("エラー＞ﾘｽﾄ出力するURLﾃﾞｰﾀがありません。"));
    Fill(List, {"http://a/", "", "http://\x95\x5c/"});
    Services.Files = {Folder + "out.txt", std::nullopt, Folder};
    W.Run([&] { W.CreateUrlListFile(); });
    EXPECT_EQ(ReadBytes(Folder + "out.txt"), "http://a/\r\n\r\nhttp://\x95\x5c/\r\n");
    EXPECT_EQ(Services.Filters[0], Utf8("ﾃｷｽﾄﾌｧｲﾙ(*.txt);;すべてのﾌｧｲﾙ(*.*)"));
    EXPECT_EQ(Services.Proposed[0], "list.txt");
    EXPECT_EQ(W.StatusLine(), Utf8("報告＞URLﾘｽﾄ出力完了。"));
    W.Run([&] { W.CreateUrlListFile(); });
    EXPECT_EQ(W.StatusLine(), Utf8("報告＞URLﾘｽﾄの出力を中止しました。"));
    W.Run([&] { W.CreateUrlListFile(); });  // a folder is no file
    EXPECT_EQ(Services.Errors, QStringList{Report(FileErrorMessage(EISDIR))});
    EXPECT_EQ(W.StatusLine(), Utf8("報告＞URLﾘｽﾄの出力を中止しました。"));
}

TEST_F(Exports, LinkPageThroughTheDialogOrToTheFixedFile)
{
    const std::string page = "<html><head><title>URL\x88\xea\x97\x97</title>\r\n"
                             "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=Shift_JIS\">\r\n"
                             "</head><body bgcolor=\"#FFFFFF\"><ol>\r\n"
                             "<li><a href=\"http://a/\" target=\"_blank\">http://a/</a></li>\r\n"
                             "<li><a href=\"http://b/\"<i>\" target=\"_blank\">http://b/\"<i></a></li>\r\n"
                             "</ol></body></html>\r\n";
    W.CreateLinkPage();
    EXPECT_EQ(W.StatusLine(), Utf8("エラー＞ﾘﾝｸ集に掲載するURLﾃﾞｰﾀがありません。"));
    Fill(List, {"http://a/", "http://b/\"<i>"});
    Services.Files = {Folder + "page.html", std::nullopt};
    W.Run([&] { W.CreateLinkPage(); });
    EXPECT_EQ(ReadBytes(Folder + "page.html"), page);
    EXPECT_EQ(Services.Filters, QStringList{Utf8("htmlﾌｧｲﾙ(*.html);;すべてのﾌｧｲﾙ(*.*)")});
    EXPECT_EQ(Services.Proposed, QStringList{"link.html"});
    EXPECT_EQ(W.StatusLine(), Utf8("報告＞リンク集作成完了。"));
    W.Run([&] { W.CreateLinkPage(); });
    EXPECT_EQ(W.StatusLine(), Utf8("報告＞リンク集の作成を中止しました。"));

    W.Options.LinkPageWithoutDialog = true;
    W.Run([&] { W.CreateLinkPage(); });
    EXPECT_EQ(ReadBytes(Folder + "link.htm"), page);
    EXPECT_EQ(Services.Filters.size(), 2);
    EXPECT_EQ(W.StatusLine(), Utf8("報告＞リンク集作成完了。"));
}

TEST_F(Exports, ClipboardCopiesAreBracketedByTheIgnoreFlag)
{
    W.CopyWholeList();
    EXPECT_EQ(W.StatusLine(), Utf8("エラー＞CBに転送するURLがありません。"));
    W.CopySelected();
    EXPECT_EQ(W.StatusLine(), Utf8("エラー＞CBに転送するURLが選択されていません。"));
    W.CopyFocusedUrl();
    EXPECT_EQ(W.StatusLine(), Utf8("エラー＞CBに転送するURLが選択されていません。"));
    EXPECT_TRUE(Services.IgnoredWrites.empty());

    Fill(List, {"", "http://a/", "http://skip/", "http://c/"}, {0, 1, 3});
    W.CopyWholeList();
    EXPECT_EQ(Services.Clipboard, "\r\nhttp://a/\r\nhttp://skip/\r\nhttp://c/");
    EXPECT_EQ(W.StatusLine(), Utf8("報告＞CBにURLﾘｽﾄを転送しました。"));
    W.CopySelected();  // a leading empty item adds no line break
    EXPECT_EQ(Services.Clipboard, "http://a/\r\nhttp://c/");
    EXPECT_EQ(W.StatusLine(), Utf8("報告＞選択中のURLをCBに転送しました。"));
    List.SetFocused(2);
    W.SetStatus({});
    W.CopyFocusedUrl();
    EXPECT_EQ(Services.Clipboard, "http://skip/");
    EXPECT_EQ(W.StatusLine(), Utf8("報告＞選択中のURLをCBに転送しました。"));
    EXPECT_EQ(Services.IgnoredWrites, (std::vector<bool>{true, true, true}));
    EXPECT_FALSE(W.Monitoring.WritingOwnCopy());
}

TEST_F(Exports, AFailedClipboardWriteStillEndsTheOwnWrite)
{
    struct TLocked : TFakeServices {
        void SetClipboardText(const std::string&) override { throw std::runtime_error("locked"); }
    } locked;
    TWorkspace workspace(locked, Folder);
    workspace.List.Append("http://a/");
    workspace.Run([&] { workspace.CopyWholeList(); });
    EXPECT_FALSE(workspace.Monitoring.WritingOwnCopy());
    EXPECT_EQ(locked.Errors, QStringList{"locked."});
}

TEST_F(Exports, Utf8ListHoldsEachItemConvertedWithLf)
{
    Fill(List, {"http://a/", "", "http://\x93\xfa/\x95\x5c"});
    W.Options.Utf8List = true;
    Services.Files = {Folder + "utf8.txt"};
    W.Run([&] { W.CreateUrlListFile(); });
    EXPECT_EQ(ReadBytes(Folder + "utf8.txt"), "http://a/\n\nhttp://\xe6\x97\xa5/\xe8\xa1\xa8\n");
    EXPECT_EQ(W.StatusLine(), Utf8("報告＞URLﾘｽﾄ出力完了。"));
}

// The bookmarks file read back as an importer reads it: the folder, then
// each link's address, date and text, entities decoded.
TEST_F(Exports, BookmarksHoldEveryWebAddressOnceInListOrder)
{
    W.CreateBookmarks();
    EXPECT_EQ(W.StatusLine(), Utf8("エラー＞ﾌﾞｯｸﾏｰｸに登録するURLﾃﾞｰﾀがありません。"));
    Fill(List, {"../relative", "/rooted"});
    W.CreateBookmarks();
    EXPECT_EQ(W.StatusLine(), Utf8("エラー＞ﾌﾞｯｸﾏｰｸに登録するURLﾃﾞｰﾀがありません。"));
    EXPECT_TRUE(Services.Filters.isEmpty());

    Fill(List, {"http://a/?x=1&y=\"<z>\"", "www.b.jp/", "http://a/?x=1&y=\"<z>\"", "http://www.b.jp/",
                "https://\x93\xfa.jp/", "javascript:alert(1)"});
    Services.Files = {std::nullopt, Folder + "bookmarks.html"};
    W.Run([&] { W.CreateBookmarks(); });
    EXPECT_EQ(W.StatusLine(), Utf8("報告＞ﾌﾞｯｸﾏｰｸの出力を中止しました。"));
    EXPECT_EQ(Services.Filters[0], Utf8("ﾌﾞｯｸﾏｰｸ(*.html)"));
    EXPECT_EQ(Services.Proposed[0], "bookmarks.html");
    W.Run([&] { W.CreateBookmarks(); });
    EXPECT_EQ(W.StatusLine(), Utf8("報告＞ﾌﾞｯｸﾏｰｸ出力完了。"));

    const std::string file = ReadBytes(Folder + "bookmarks.html");
    EXPECT_EQ(file.find('\r'), std::string::npos);
    EXPECT_EQ(file.rfind("<!DOCTYPE NETSCAPE-Bookmark-file-1>\n<META HTTP-EQUIV=\"Content-Type\" "
                         "CONTENT=\"text/html; charset=UTF-8\">\n<TITLE>Bookmarks</TITLE>\n",
                         0),
              0u);
    std::smatch folder;
    ASSERT_TRUE(std::regex_search(
        file, folder, std::regex(R"re(<DT><H3 ADD_DATE="(\d+)">Linkrake (\d{4}-\d\d-\d\d)</H3>)re")));
    const auto decoded = [](std::string text) {
        for (const auto& [entity, c] :
             {std::pair{"&quot;", "\""}, {"&lt;", "<"}, {"&gt;", ">"}, {"&amp;", "&"}})
            text = std::regex_replace(text, std::regex(entity), c);
        return text;
    };
    Strings addresses;
    const std::regex link(R"re(<DT><A HREF="([^"<>]*)" ADD_DATE="(\d+)">([^"<>]*)</A>)re");
    for (std::sregex_iterator at(file.begin(), file.end(), link), end; at != end; ++at) {
        EXPECT_EQ((*at)[1], (*at)[3]);
        EXPECT_EQ((*at)[2], folder[1]);
        addresses.push_back(decoded((*at)[1]));
    }
    EXPECT_EQ(addresses,
              (Strings{"http://a/?x=1&y=\"<z>\"", "http://www.b.jp/", "https://\xe6\x97\xa5.jp/"}));
    EXPECT_NE(file.find("    </DL><p>\n</DL><p>\n"), std::string::npos);
}

}  // namespace
