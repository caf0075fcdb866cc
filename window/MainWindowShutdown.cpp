// The reports about the workspace files that concern the whole run: the ones
// that could not be read at start, and the save at an end nobody can be
// asked about.
#include "ListLinkCheck.h"
#include "MainWindow.h"

#include <cstdio>

#include "ReadProgress.h"
#include "workspace/SaveReport.h"
#include "workspace/Workspace.h"

void TMainWindow::ReportUnreadableFiles()
{
    if (FUnreadableReported)
        return;
    FUnreadableReported = true;
    FWorkspace->Files.ReportUnreadableFiles();
}

int TMainWindow::SaveWithoutAsking()
{
    if (FSavedForEnd)
        return FEndStatus;
    FSavedForEnd = true;
    // The desktop may save the session without ending it (a checkpoint, or a
    // logout cancelled later); once the user works on, a close saves again.
    FActivityAfterSave.Start();
    // The list is saved as the reading or the open command left it: a copy
    // made meanwhile is not taken up at this end. The reading's own end (status line, undo
    // step, a failure's box) comes after the save, if the program runs on.
    disconnect(Reading, &TReadProgress::Ended, this, &TMainWindow::ClipboardChanged);
    disconnect(FWorkspace.get(), &TWorkspace::CommandEnded, this, &TMainWindow::ClipboardChanged);
    Reading->StopNow();
    FLinkCheck->Stop();
    MemosToWorkspace();
    const TFileProblems unsaved = FWorkspace->Files.SaveAll();
    if (unsaved.empty())
        return FEndStatus = 0;
    const QByteArray lines = UnsavedFilesText(unsaved).toLocal8Bit() + '\n';
    std::fwrite(lines.constData(), 1, static_cast<std::size_t>(lines.size()), stderr);
    std::fflush(stderr);
    return FEndStatus = 1;
}
