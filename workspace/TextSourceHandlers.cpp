#include "Workspace.h"

#include <memory>

#include <QStringList>

#include "InputFiles.h"
#include "workspace/pagelinks/PageLinks.h"

namespace {
const QString TextFileFilter = QStringLiteral("ﾃｷｽﾄﾌｧｲﾙ(*.txt);;すべてのﾌｧｲﾙ(*.*)");
const QString ReadStoppedStatus = QStringLiteral("報告＞読み込みを中止しました。");

// The paths worth reading. Those that are not regular files are named in
// one box instead: a FIFO would block the reading, a device never end it.
std::vector<std::string> WithoutNonRegularFiles(const std::vector<std::string>& paths,
                                                TWorkspaceServices& services)
{
    std::vector<std::string> readable;
    QStringList refused;
    for (const std::string& path : paths) {
        if (IsSpecialFile(path))
            refused << NotReadText(path, NotRegularFileReason());
        else
            readable.push_back(path);
    }
    if (!refused.isEmpty())
        services.ReportError(refused.join(u'\n'));
    return readable;
}

}  // namespace

void TWorkspace::InputTextFile()
{
    const std::optional<std::string> path = FServices.ChooseOpenFile(TextFileFilter);
    if (!path) {
        SetStatus(QStringLiteral("報告＞URLの抽出を中止しました。"));
        return;
    }
    ReadIntoList({*path}, QStringLiteral("正常＞ﾃｷｽﾄﾌｧｲﾙよりURLを抽出しました。"));
}

void TWorkspace::ReadDroppedFiles(const std::vector<std::string>& paths)
{
    // Every dropped path is taken whole: no count or length cut-off.
    const std::vector<std::string> readable = WithoutNonRegularFiles(paths, FServices);
    if (readable.empty() && !paths.empty())
        return;
    ReadIntoList(readable, QStringLiteral("報告＞ﾄﾞﾛｯﾌﾟされたﾌｧｲﾙの解析を終了しました。"));
}

void TWorkspace::ReadIntoList(const std::vector<std::string>& paths, const QString& doneStatus)
{
    // The step stays open until the reading has ended, however it ends: a
    // failure destroys done without calling it.
    auto undo = std::make_shared<TUndoRecording>(History, List);
    (*undo)->WatchAppends(List);
    ReadFiles(paths, [this, undo, doneStatus](bool completed) {
        SetStatus(completed ? doneStatus : ReadStoppedStatus);
    });
}

std::vector<std::string> TWorkspace::LinkTargetsOf(const std::optional<TCopiedPage>& page) const
{
    std::vector<std::string> targets;
    if (!page || !Options.LinkTargets)
        return targets;
    for (const std::string& target : LinkTargetsOfPage(page->Html, page->Address))
        targets.push_back(Utf8ToShiftJis(target));
    return targets;
}

QString TWorkspace::ClipboardUnreadableStatus()
{
    return QStringLiteral("エラー＞CBの内容が読み込めませんでした。");
}

bool TWorkspace::ExtractFromClipboard(TClipboardCopy& copy, bool monitoring)
{
    try {
        std::vector<std::string> targets;
        if (Options.LinkTargets && !(monitoring && copy.OffersPicture()))
            targets = LinkTargetsOf(copy.Page());
        // A page without links is no text either.
        if (!copy.HasText() && targets.empty()) {
            SetStatus(QStringLiteral("エラー＞CBの内容がﾃｷｽﾄではありません。"));
            return false;
        }
        ExtractFromCopy(copy.HasText() ? copy.Text() : std::string(), targets, Options, List);
    } catch (...) {
        // Monitoring calls this unattended: no failure may escape to a dialog.
        SetStatus(ClipboardUnreadableStatus());
        return false;
    }
    SetStatus(QStringLiteral("正常＞CBよりURLを抽出しました。"));
    return true;
}

void TWorkspace::PasteClipboard()
{
    SetStatus(QStringLiteral("報告＞解析しています。しばらくお待ち下さい。"));
    TUndoRecording undo(History, List);
    undo->WatchAppends(List);
    ExtractFromClipboard(*FServices.LookAtClipboard());
}

void TWorkspace::PasteDroppedText(const std::string& text, const std::optional<TCopiedPage>& page)
{
    SetStatus(QStringLiteral("報告＞解析しています。しばらくお待ち下さい。"));
    TUndoRecording undo(History, List);
    undo->WatchAppends(List);
    ExtractFromCopy(text, LinkTargetsOf(page), Options, List);
    SetStatus(QStringLiteral("正常＞CBよりURLを抽出しました。"));
}

void TWorkspace::AddEnteredUrl()
{
    if (UrlEntry.empty()) {
        SetStatus(QStringLiteral("エラー＞追加するURLが入力されていません。"));
        return;
    }
    TUndoRecording undo(History, List);
    undo->WatchAppends(List);
    // A refused line throws before the entry is reset, so the user's text stays.
    ExtractUrlsFromLine(UrlEntry, Options, List);
    undo->EntryChange(UrlEntry, "http://");
    SetUrlEntry("http://");
    SetStatus(QStringLiteral("報告＞URLを追加しました。"));
}
