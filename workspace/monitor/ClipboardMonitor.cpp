#include "ClipboardMonitor.h"

#include <ctime>
#include <cwchar>

#include "Workspace.h"

namespace ClipboardMonitor {

namespace {

// The locale's date and time ("%x %X" of the C library).
QString TimestampNow()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    // Wide characters: the locale's own code set (EUC-JP, say) is not the
    // UTF-8 that Qt takes local 8-bit text to be.
    wchar_t text[128];
    const std::size_t length = std::wcsftime(text, sizeof text / sizeof *text, L"%x %X", &local);
    return QString::fromWCharArray(text, static_cast<qsizetype>(length));
}

}  // namespace

void RewriteClipboard(TWorkspace& workspace)
{
    if (!workspace.Monitoring.Watching())
        return;
    const std::unique_ptr<TClipboardCopy> copy = workspace.LookAtClipboard();
    // An owner that does not answer has cost its time-out once; the list and
    // the clipboard stay as they are.
    if (copy->Formats().isEmpty()) {
        workspace.SetStatus(TWorkspace::ClipboardUnreadableStatus());
        return;
    }
    // A password manager's copy is neither read nor replaced: the user pastes
    // it elsewhere as it is, and nothing here (list, undo, status) records it.
    if (copy->MarkedSecret())
        return;
    // Held until the rewrite ends, however it ends: the copies it makes are
    // the program's own.
    const TClipboardMonitoring::TOwnWrite ownWrites(workspace.Monitoring);
    // The list the copy wipes stays undoable: one step from the list before
    // to the list after, whatever happens in between.
    TUndoRecording undo(workspace.History, workspace.List);
    undo->TakeAll(workspace.List);
    if (!workspace.ExtractFromClipboard(*copy, true))
        return;  // its error message stays on the status line
    workspace.CopyListToClipboard();
    workspace.ListModel.Clear();
    workspace.SetStatus(QStringLiteral("CB自動更新＞クリップボード更新。(") + TimestampNow()
                        + QStringLiteral(")"));
}

}  // namespace ClipboardMonitor
