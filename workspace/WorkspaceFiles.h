#pragma once
// The workspace's files in the program folder: the settings, the list and
// the two memo pads. A file that exists but could not be read at start is
// never written during the run, so nothing the user had is replaced by what
// the program failed to load.
#include <exception>
#include <optional>
#include <string>

#include "SaveReport.h"

class TWorkspace;
class TWorkspaceServices;

class TWorkspaceFiles {
public:
    // programFolder ends with "/".
    TWorkspaceFiles(TWorkspace& workspace, TWorkspaceServices& services, std::string programFolder);

    const std::string& ProgramFolder() const { return FProgramFolder; }

    void LoadSettings();     // "Linkrake.ini" into the options
    void SaveSettings();     // throws on failure
    void LoadListFile();     // silent on failure
    void SaveListFile();     // throws on failure
    void LoadMemo(int pad);  // 1 or 2; silent on failure
    void SaveMemo(int pad);  // throws on failure
    // Temporaries of interrupted saves first, then settings, list and memos.
    void LoadAll();

    // Files that exist but could not be read at start.
    TFileProblems UnreadableFiles;
    // One box listing them, when there are any.
    void ReportUnreadableFiles();
    // Saves each file on its own, so one failure costs no other file.
    // Returns the files left unsaved, the unreadable ones included.
    TFileProblems SaveAll();
    // Saves, then reports the files left unsaved and asks whether to end
    // without them. True when the program may end.
    bool SaveBeforeQuitting();

private:
    bool WasUnreadable(const std::string& path) const;
    void NoteUnreadable(const std::string& path, const std::exception& failure);

    TWorkspace& FWorkspace;
    TWorkspaceServices& FServices;
    std::string FProgramFolder;
    // Each memo pad's file as read and the memo made of it: a memo still
    // equal to what was made is written back from the bytes, so nothing the
    // text conversion would lose is lost.
    std::optional<std::string> FMemoFileBytes[2];
    std::string FMemoAsLoaded[2];
};
