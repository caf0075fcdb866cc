#include "ListExports.h"

#include <ctime>
#include <filesystem>
#include <system_error>
#include <utility>

#include <QFile>

#include "Bookmarks.h"
#include "Cp932.h"
#include "FileWriting.h"
#include "ListText.h"
#include "Workspace.h"

namespace {

std::string ShortcutContents(const std::string& url)
{
    return "[InternetShortcut]" + LineEnd + "URL=" + url + LineEnd;
}

std::string LinkPageContents(const TUrlList& list)
{
    std::string page = "<html><head><title>" + ToCp932(QStringLiteral("URL一覧")) + "</title>" + LineEnd;
    page += "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=Shift_JIS\">" + LineEnd;
    page += "</head><body bgcolor=\"#FFFFFF\"><ol>" + LineEnd;
    for (const TUrlList::TItem& item : list.Items())
        page += "<li><a href=\"" + item.Text + "\" target=\"_blank\">" + item.Text + "</a></li>" + LineEnd;
    page += "</ol></body></html>" + LineEnd;
    return page;
}

// Every item in UTF-8 followed by LF, for the tools that read URL lists,
// converted through the one table, a few hundred kilobytes at a time.
TFileContents Utf8ListFileContents(const TUrlList& list)
{
    return [&list](const TPieceSink& sink) {
        constexpr std::size_t PieceSize = std::size_t{1} << 18;
        std::string piece;
        for (const TUrlList::TItem& item : list.Items()) {
            const std::size_t at = piece.size();
            piece.resize(at + 3 * item.Text.size() + 1);
            piece.resize(at + ShiftJisToUtf8At(item.Text, piece.data() + at));
            piece += '\n';
            if (piece.size() >= PieceSize) {
                sink(piece);
                piece.clear();
            }
        }
        if (!piece.empty())
            sink(piece);
    };
}

// The prefix is CP932 text; the file system wants its own encoding.
std::string ShortcutFileName(const std::string& prefix, int number, int digitCount)
{
    return QFile::encodeName(FromCp932(prefix + ZeroPad(number, digitCount) + ".url")).toStdString();
}

void CreateFolderWithParents(const std::string& folder)
{
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error)
        throw EInOutError(error.value(), FileErrorMessage(error.value()));
}

}  // namespace

void TListExports::CreateShortcuts()
{
    if (FWorkspace.List.Empty()) {
        FWorkspace.SetStatus(QStringLiteral("エラー＞ｼｮｰﾄｶｯﾄを出力するURLﾃﾞｰﾀがありません。"));
        return;
    }
    const QString cancelled = QStringLiteral("報告＞ｼｮｰﾄｶｯﾄ出力が中止されました。");
    const std::optional<std::string> folder = FServices.ChooseFolder(QStringLiteral("ディレクトリの選択"));
    if (!folder) {
        FWorkspace.SetStatus(cancelled);
        return;
    }
    // A folder that cannot even be inspected is left to the writes below,
    // which report the real cause.
    std::error_code inspectError;
    if (!std::filesystem::exists(*folder, inspectError) && !inspectError) {
        if (!FServices.Confirm(QStringLiteral("指定されたディレクトリが存在しません。作成しますか？"))) {
            FWorkspace.SetStatus(cancelled);
            return;
        }
        CreateFolderWithParents(*folder);
    }
    for (std::size_t i = 0; i < FWorkspace.List.Count(); ++i) {
        // Prefix and digit count are read afresh for every file.
        const std::string name = ShortcutFileName(FWorkspace.Options.ShortcutPrefix, static_cast<int>(i + 1),
                                                  FWorkspace.Options.ShortcutDigits);
        WriteFileTruncating(*folder + "/" + name, ShortcutContents(FWorkspace.List[i]));
    }
    FWorkspace.SetStatus(QStringLiteral("正常＞ｼｮｰﾄｶｯﾄの出力が終了しました。"));
}

void TListExports::CreateUrlListFile()
{
    if (FWorkspace.List.Empty()) {
        FWorkspace.SetStatus(QStringLiteral("エラー＞ﾘｽﾄ出力するURLﾃﾞｰﾀがありません。"));
        return;
    }
    const std::optional<std::string> path = FServices.ChooseSaveFile(
        QStringLiteral("ﾃｷｽﾄﾌｧｲﾙ(*.txt);;すべてのﾌｧｲﾙ(*.*)"), QStringLiteral("list.txt"));
    if (!path) {
        FWorkspace.SetStatus(QStringLiteral("報告＞URLﾘｽﾄの出力を中止しました。"));
        return;
    }
    WriteFileTruncating(*path, FWorkspace.Options.Utf8List ? Utf8ListFileContents(FWorkspace.List)
                                                           : ListFileContents(FWorkspace.List));
    FWorkspace.SetStatus(QStringLiteral("報告＞URLﾘｽﾄ出力完了。"));
}

void TListExports::CreateLinkPage()
{
    if (FWorkspace.List.Empty()) {
        FWorkspace.SetStatus(QStringLiteral("エラー＞ﾘﾝｸ集に掲載するURLﾃﾞｰﾀがありません。"));
        return;
    }
    std::optional<std::string> path;
    if (FWorkspace.Options.LinkPageWithoutDialog)
        path = FWorkspace.ProgramFolder() + "link.htm";
    else
        path = FServices.ChooseSaveFile(QStringLiteral("htmlﾌｧｲﾙ(*.html);;すべてのﾌｧｲﾙ(*.*)"),
                                        QStringLiteral("link.html"));
    if (!path) {
        FWorkspace.SetStatus(QStringLiteral("報告＞リンク集の作成を中止しました。"));
        return;
    }
    WriteFileTruncating(*path, LinkPageContents(FWorkspace.List));
    FWorkspace.SetStatus(QStringLiteral("報告＞リンク集作成完了。"));
}

void TListExports::CreateBookmarks()
{
    const std::time_t now = std::time(nullptr);
    const std::string contents = BookmarkFileContents(FWorkspace.List, now);
    if (contents.empty()) {
        FWorkspace.SetStatus(QStringLiteral("エラー＞ﾌﾞｯｸﾏｰｸに登録するURLﾃﾞｰﾀがありません。"));
        return;
    }
    const std::optional<std::string> path =
        FServices.ChooseSaveFile(QStringLiteral("ﾌﾞｯｸﾏｰｸ(*.html)"), QStringLiteral("bookmarks.html"));
    if (!path) {
        FWorkspace.SetStatus(QStringLiteral("報告＞ﾌﾞｯｸﾏｰｸの出力を中止しました。"));
        return;
    }
    WriteFileTruncating(*path, contents);
    FWorkspace.SetStatus(QStringLiteral("報告＞ﾌﾞｯｸﾏｰｸ出力完了。"));
}

void TListExports::CopyWholeList()
{
    const TClipboardMonitoring::TOwnWrite ownWrite(FWorkspace.Monitoring);
    CopyListToClipboard();
}

void TListExports::CopyListToClipboard()
{
    if (FWorkspace.List.Empty()) {
        FWorkspace.SetStatus(QStringLiteral("エラー＞CBに転送するURLがありません。"));
        return;
    }
    std::size_t bytes = 0;
    for (const TUrlList::TItem& item : FWorkspace.List.Items())
        bytes += item.Text.size() + LineEnd.size();
    std::string text;
    text.reserve(bytes);
    for (std::size_t i = 0; i < FWorkspace.List.Count(); ++i) {
        if (i > 0)
            text += LineEnd;
        text += FWorkspace.List[i];
    }
    FServices.GiveClipboardText(std::move(text));
    FWorkspace.SetStatus(QStringLiteral("報告＞CBにURLﾘｽﾄを転送しました。"));
}

void TListExports::CopySelected()
{
    if (FWorkspace.FirstSelectedIndex() < 0) {
        FWorkspace.SetStatus(QStringLiteral("エラー＞CBに転送するURLが選択されていません。"));
        return;
    }
    std::string text;
    for (const TUrlList::TItem& item : FWorkspace.List.Items()) {
        if (!item.Selected)
            continue;
        if (!text.empty())
            text += LineEnd;
        text += item.Text;
    }
    {
        const TClipboardMonitoring::TOwnWrite ownWrite(FWorkspace.Monitoring);
        FServices.SetClipboardText(text);
    }
    FWorkspace.SetStatus(QStringLiteral("報告＞選択中のURLをCBに転送しました。"));
}

void TListExports::CopyFocusedUrl()
{
    const int focused = FWorkspace.List.Focused();
    if (focused < 0 || static_cast<std::size_t>(focused) >= FWorkspace.List.Count()) {
        FWorkspace.SetStatus(QStringLiteral("エラー＞CBに転送するURLが選択されていません。"));
        return;
    }
    {
        const TClipboardMonitoring::TOwnWrite ownWrite(FWorkspace.Monitoring);
        FServices.SetClipboardText(FWorkspace.List[static_cast<std::size_t>(focused)]);
    }
    FWorkspace.SetStatus(QStringLiteral("報告＞選択中のURLをCBに転送しました。"));
}
