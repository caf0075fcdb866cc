#include "Workspace.h"

#include <ctime>
#include <filesystem>
#include <system_error>
#include <utility>

#include <QFile>

#include "Bookmarks.h"
#include "Cp932.h"
#include "FileWriting.h"
#include "ListText.h"

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

void TWorkspace::CreateShortcuts()
{
    if (List.Empty()) {
        SetStatus(QStringLiteral("エラー＞ｼｮｰﾄｶｯﾄを出力するURLﾃﾞｰﾀがありません。"));
        return;
    }
    const QString cancelled = QStringLiteral("報告＞ｼｮｰﾄｶｯﾄ出力が中止されました。");
    const std::optional<std::string> folder = FServices.ChooseFolder(QStringLiteral("ディレクトリの選択"));
    if (!folder) {
        SetStatus(cancelled);
        return;
    }
    // A folder that cannot even be inspected is left to the writes below,
    // which report the real cause.
    std::error_code inspectError;
    if (!std::filesystem::exists(*folder, inspectError) && !inspectError) {
        if (!FServices.Confirm(QStringLiteral("指定されたディレクトリが存在しません。作成しますか？"))) {
            SetStatus(cancelled);
            return;
        }
        CreateFolderWithParents(*folder);
    }
    for (std::size_t i = 0; i < List.Count(); ++i) {
        // Prefix and digit count are read afresh for every file.
        const std::string name =
            ShortcutFileName(Options.ShortcutPrefix, static_cast<int>(i + 1), Options.ShortcutDigits);
        WriteFileTruncating(*folder + "/" + name, ShortcutContents(List[i]));
    }
    SetStatus(QStringLiteral("正常＞ｼｮｰﾄｶｯﾄの出力が終了しました。"));
}

void TWorkspace::CreateUrlListFile()
{
    if (List.Empty()) {
        SetStatus(QStringLiteral("エラー＞ﾘｽﾄ出力するURLﾃﾞｰﾀがありません。"));
        return;
    }
    const std::optional<std::string> path = FServices.ChooseSaveFile(
        QStringLiteral("ﾃｷｽﾄﾌｧｲﾙ(*.txt);;すべてのﾌｧｲﾙ(*.*)"), QStringLiteral("list.txt"));
    if (!path) {
        SetStatus(QStringLiteral("報告＞URLﾘｽﾄの出力を中止しました。"));
        return;
    }
    WriteFileTruncating(*path, Options.Utf8List ? Utf8ListFileContents(List) : ListFileContents(List));
    SetStatus(QStringLiteral("報告＞URLﾘｽﾄ出力完了。"));
}

void TWorkspace::CreateLinkPage()
{
    if (List.Empty()) {
        SetStatus(QStringLiteral("エラー＞ﾘﾝｸ集に掲載するURLﾃﾞｰﾀがありません。"));
        return;
    }
    std::optional<std::string> path;
    if (Options.LinkPageWithoutDialog)
        path = FProgramFolder + "link.htm";
    else
        path = FServices.ChooseSaveFile(QStringLiteral("htmlﾌｧｲﾙ(*.html);;すべてのﾌｧｲﾙ(*.*)"),
                                        QStringLiteral("link.html"));
    if (!path) {
        SetStatus(QStringLiteral("報告＞リンク集の作成を中止しました。"));
        return;
    }
    WriteFileTruncating(*path, LinkPageContents(List));
    SetStatus(QStringLiteral("報告＞リンク集作成完了。"));
}

void TWorkspace::CreateBookmarks()
{
    const std::time_t now = std::time(nullptr);
    const std::string contents = BookmarkFileContents(List, now);
    if (contents.empty()) {
        SetStatus(QStringLiteral("エラー＞ﾌﾞｯｸﾏｰｸに登録するURLﾃﾞｰﾀがありません。"));
        return;
    }
    const std::optional<std::string> path =
        FServices.ChooseSaveFile(QStringLiteral("ﾌﾞｯｸﾏｰｸ(*.html)"), QStringLiteral("bookmarks.html"));
    if (!path) {
        SetStatus(QStringLiteral("報告＞ﾌﾞｯｸﾏｰｸの出力を中止しました。"));
        return;
    }
    WriteFileTruncating(*path, contents);
    SetStatus(QStringLiteral("報告＞ﾌﾞｯｸﾏｰｸ出力完了。"));
}

void TWorkspace::CopyWholeList()
{
    const TClipboardMonitoring::TOwnWrite ownWrite(Monitoring);
    CopyListToClipboard();
}

void TWorkspace::CopyListToClipboard()
{
    if (List.Empty()) {
        SetStatus(QStringLiteral("エラー＞CBに転送するURLがありません。"));
        return;
    }
    std::size_t bytes = 0;
    for (const TUrlList::TItem& item : List.Items())
        bytes += item.Text.size() + LineEnd.size();
    std::string text;
    text.reserve(bytes);
    for (std::size_t i = 0; i < List.Count(); ++i) {
        if (i > 0)
            text += LineEnd;
        text += List[i];
    }
    FServices.GiveClipboardText(std::move(text));
    SetStatus(QStringLiteral("報告＞CBにURLﾘｽﾄを転送しました。"));
}

void TWorkspace::CopySelected()
{
    if (FirstSelectedIndex() < 0) {
        SetStatus(QStringLiteral("エラー＞CBに転送するURLが選択されていません。"));
        return;
    }
    std::string text;
    for (const TUrlList::TItem& item : List.Items()) {
        if (!item.Selected)
            continue;
        if (!text.empty())
            text += LineEnd;
        text += item.Text;
    }
    {
        const TClipboardMonitoring::TOwnWrite ownWrite(Monitoring);
        FServices.SetClipboardText(text);
    }
    SetStatus(QStringLiteral("報告＞選択中のURLをCBに転送しました。"));
}

void TWorkspace::CopyFocusedUrl()
{
    const int focused = List.Focused();
    if (focused < 0 || static_cast<std::size_t>(focused) >= List.Count()) {
        SetStatus(QStringLiteral("エラー＞CBに転送するURLが選択されていません。"));
        return;
    }
    {
        const TClipboardMonitoring::TOwnWrite ownWrite(Monitoring);
        FServices.SetClipboardText(List[static_cast<std::size_t>(focused)]);
    }
    SetStatus(QStringLiteral("報告＞選択中のURLをCBに転送しました。"));
}
