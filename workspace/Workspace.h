#pragma once
// The URL list workspace: every handler of the main window that is not pure
// display. Controls write the options and the entry line as they are
// edited; what a handler changes is announced by the signals below and by
// the list's model, so a window follows without reading everything back.
// Tests drive the handlers directly.
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <QObject>
#include <QString>

#include "ListExports.h"
#include "UndoHistory.h"
#include "UrlListModel.h"
#include "WorkspaceFiles.h"
#include "WorkspaceServices.h"
#include "engine/Engine.h"
#include "monitor/ClipboardMonitoring.h"

class TWorkspace : public QObject {
    Q_OBJECT
public:
    // programFolder ends with "/"; see ProgramFolderOfExecutable().
    TWorkspace(TWorkspaceServices& services, std::string programFolder);

    // ---- Plain objects the window binds to (CP932 bytes unless QString) ----
    TExtractOptions Options;
    TUrlList List;
    // The list as views see it. Whatever changes List outside the handlers
    // below tells it (Appended for items added at the end).
    TUrlListModel ListModel{List};
    // The entry line's text. Its edit line writes it; a handler that
    // changes it announces UrlEntryChanged.
    std::string UrlEntry = "http://";
    std::string MemoPad1;  // memo pads, CP932, CR LF line breaks
    std::string MemoPad2;
    TClipboardMonitoring Monitoring;
    // The list's changes since start, for undo and redo; never stored.
    TUndoHistory History;
    // Reads files into List as ExtractFromFile does, one after the other,
    // then calls done with false when the user stopped it early. A failure
    // is thrown instead, after the URLs read before it have reached the
    // list. The window puts in its place a reading that runs on after
    // ReadFiles has returned, shows its progress and can be stopped; done
    // (and a failure) then come when it ends, through the window.
    using TReadDone = std::function<void(bool completed)>;
    std::function<void(const std::vector<std::string>& paths, TReadDone done)> ReadFiles;
    const std::string& ProgramFolder() const { return Files.ProgramFolder(); }

    const QString& StatusLine() const { return FStatusLine; }
    void SetStatus(const QString& text);

    // Runs a handler; an exception that escapes it goes to the default
    // error report, as the event loop would do with it.
    void Run(const std::function<void()>& handler);
    // A handler is under way: its dialog may be open, with the event loop
    // running underneath it.
    bool Running() const { return FRunning; }
    // The error report text: the message, plus "." when its last character
    // compares greater than ".".
    static QString DefaultErrorText(const QString& message);

    // ---- Start-up and shut-down ----
    // The settings, the list and the memos, in their files.
    TWorkspaceFiles Files;
    // The files read (see TWorkspaceFiles::LoadAll), the controls told of
    // the options, monitoring switched by them and started.
    void LoadWorkspace();

    // ---- Text sources ----
    void InputTextFile();
    void ReadDroppedFiles(const std::vector<std::string>& paths);
    std::unique_ptr<TClipboardCopy> LookAtClipboard() { return FServices.LookAtClipboard(); }
    // The URLs of the copy's text and of the link targets of the page it
    // offers; false, with the reason on the status line, when it holds
    // neither or cannot be read. Monitoring leaves the links of a copy that
    // offers a picture unread, as it leaves pictures.
    bool ExtractFromClipboard(TClipboardCopy& copy, bool monitoring = false);
    static QString ClipboardUnreadableStatus();
    void PasteClipboard();
    void AddEnteredUrl();
    // Text or links dropped onto the list: taken as the clipboard's text is,
    // with the link targets of a dropped page.
    void PasteDroppedText(const std::string& text, const std::optional<TCopiedPage>& page = std::nullopt);

    // ---- List operations ----
    int FirstSelectedIndex() const;
    void ModifySelected();    // modify
    void DeleteSelected();    // delete selected
    void DeleteDuplicates();  // delete duplicates
    void DeleteAll();         // delete all
    void SortForward();       // forward sort
    void SortBackward();      // backward sort
    void ReplaceInUrls();     // replace
    void SearchAndSelect();   // search and select
    void ClearSelection();    // clear selection
    void InvertSelection();   // invert selection
    void Undo();
    void Redo();
    // Selects exactly these rows (in ascending order), as a link check's end does.
    void SelectOnly(const std::vector<std::size_t>& rows);
    // Tracking parameters out of the selected items in place, or out of
    // every item when none is selected; the list's menu takes the focused
    // item instead, as its other entries do.
    void StripTracking();
    void StripTrackingFromChosen();

    // ---- Exports ----
    TListExports Exports;

signals:
    void StatusChanged(const QString& text);
    // A handler put another text into UrlEntry.
    void UrlEntryChanged();
    // Options were read from the settings file.
    void OptionsLoaded();
    // A command changed which items are selected in a way the selection
    // count on the extended operations page reports.
    void SelectedCountChanged();
    // The list's scrollable width goes back to where it starts.
    void ListScrollWidthReset();
    // The last handler under way has returned.
    void CommandEnded();

private:
    enum class TItemChoice { All, Selected, Focused };
    void StripTrackingFrom(TItemChoice choice);
    // The page's link targets as CP932, none when the option is off.
    std::vector<std::string> LinkTargetsOf(const std::optional<TCopiedPage>& page) const;

    void SetUrlEntry(std::string text);

    TWorkspaceServices& FServices;
    QString FStatusLine;
    bool FRunning = false;

    // Reads the files as one undoable step; the status line says how it ended.
    void ReadIntoList(const std::vector<std::string>& paths, const QString& doneStatus);
};

// The folder part of a CP932 path: everything before the last "/" that is
// a single-byte character, or empty when there is none.
std::string ExtractFolder(const std::string& path);
// The folder of an executable path in the file system's encoding, with a
// trailing "/".
std::string ProgramFolderOf(const std::string& executable);
// The running executable's folder, with a trailing "/".
std::string ProgramFolderOfExecutable();
