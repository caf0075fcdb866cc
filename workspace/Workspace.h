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
    std::string UrlEntry = "http://";  // Edit4
    QString SelectedCountLabel;        // Label10
    QString StatusLine;                // StatusBar1
    std::string Memo1;                 // memo pads, CP932, CR LF line breaks
    std::string Memo2;
    bool ClipIgnore = false;
    bool MonitorEnabled = false;
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
    void Button1Click();
    void WMDropFiles(const std::vector<std::string>& paths);
    bool ExtractFromClipboard();
    void Button2Click();
    void Button3Click();

    // ---- List operations ----
    int FirstSelectedIndex() const;
    void Button9Click();   // modify
    void Button4Click();   // delete selected
    void Button11Click();  // delete duplicates
    void Button5Click();   // delete all
    void Button13Click();  // forward sort
    void Button14Click();  // backward sort
    void Button15Click();  // replace
    void Button16Click();  // search and select
    void Button17Click();  // clear selection
    void Button18Click();  // invert selection

    // ---- Exports ----
    void Button6Click();   // shortcut files
    void Button7Click();   // URL list file
    void Button10Click();  // HTML link page
    void Button8Click();   // copy whole list
    void CopyListToClipboard();
    void Button12Click();     // copy selected
    void ListBox1DblClick();  // copy focused item

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
