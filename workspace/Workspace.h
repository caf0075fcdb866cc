#pragma once
// The URL list workspace over plain objects: every handler of the main
// window that is not pure display. The window binds its controls to the
// public members and calls the handlers; tests drive them directly.
#include <functional>
#include <string>
#include <vector>

#include <QString>

#include "Engine.h"
#include "WorkspaceServices.h"

class TWorkspace {
public:
    // programFolder ends with "/"; see ProgramFolderOfExecutable().
    TWorkspace(TWorkspaceServices& services, std::string programFolder);

    // ---- Plain objects the window binds to (CP932 bytes unless QString) ----
    TExtractOptions Options;
    TUrlList List;
    std::string UrlEntry = "http://";  // UrlEntryEdit
    QString StatusLine;                // StatusBar
    std::string MemoPad1;              // memo pads, CP932, CR LF line breaks
    std::string MemoPad2;
    bool ClipIgnore = false;
    // What a handler changed beyond the list and the status line; the window
    // shows each request and clears it.
    struct TDisplayRequests {
        bool SelectedCount = false;    // the selection count changed by a command
        bool ListScrollWidth = false;  // the list's scroll width goes back to its start value
    };
    TDisplayRequests Display;
    bool MonitorEnabled = false;
    // Reads files into List as ExtractFromFile does, one after the other, and
    // returns false when the user stopped it early. The window puts in its
    // place a reading that shows its progress and can be stopped.
    std::function<bool(const std::vector<std::string>& paths)> ReadFiles;
    const std::string& ProgramFolder() const { return FProgramFolder; }

    // Runs a handler; an exception that escapes it goes to the default
    // error report, as the event loop would do with it.
    void Run(const std::function<void()>& handler);
    // The error report text: the message, plus "." when its last character
    // compares greater than ".".
    static QString DefaultErrorText(const QString& message);

    // ---- Start-up and shut-down ----
    void LoadSettings();     // "Linkrake.ini" into Options; ClipIgnore = !CB
    void SaveSettings();     // throws on failure
    void LoadListFile();     // silent on failure
    void SaveListFile();     // throws on failure
    void LoadMemo(int pad);  // 1 or 2; silent on failure
    void SaveMemo(int pad);  // throws on failure
    // The start-up steps over plain objects: settings, ClipIgnore, list,
    // memos, MonitorEnabled on.
    void FormCreate();
    // The shut-down sequence. Returns false (after reporting) when a write
    // failed; the caller then keeps the window open.
    bool FormClose();

    // ---- Text sources ----
    void InputTextFile();
    void WMDropFiles(const std::vector<std::string>& paths);
    bool ExtractFromClipboard();
    void PasteClipboard();
    void AddEnteredUrl();

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

    // ---- Exports ----
    void CreateShortcuts();    // shortcut files
    void CreateUrlListFile();  // URL list file
    void CreateLinkPage();     // HTML link page
    void CopyWholeList();      // copy whole list
    void CopyListToClipboard();
    void CopySelected();    // copy selected
    void CopyFocusedUrl();  // copy focused item

private:
    TWorkspaceServices& FServices;
    std::string FProgramFolder;
};

// The folder part of a CP932 path: everything before the last "/" that is
// a single-byte character, or empty when there is none.
std::string ExtractFolder(const std::string& path);
// The folder of an executable path in the file system's encoding, with a
// trailing "/".
std::string ProgramFolderOf(const std::string& executable);
// The running executable's folder, with a trailing "/".
std::string ProgramFolderOfExecutable();
