#pragma once
// Where the settings, list, memo files and the fixed link page live. A copy
// installed under a prefix cannot write next to itself (/usr/bin), so it
// always keeps them in the user's own data folder; a portable copy keeps
// them next to the program, as long as it may write there.
#include <string>

// Relative to the program's folder: the file that an install puts under its
// prefix's share/, so a prefix moved elsewhere is still recognised.
inline constexpr const char* InstalledMarker = "../share/linkrake/installed";

// The decision alone. Both folders end with "/".
std::string ChooseWorkspaceFolder(const std::string& programFolder, bool installed,
                                  bool programFolderWritable, const std::string& userDataFolder);
// The decision for a program in programFolder, looking for the marker and
// trying the folder's write permission; creates userDataFolder when chosen.
// Throws, with the text for the user, when that folder is unknown (empty)
// or cannot be made.
std::string WorkspaceFolderFor(const std::string& programFolder, const std::string& userDataFolder);
// $XDG_DATA_HOME/linkrake/ (~/.local/share/linkrake/ by default); empty
// when neither XDG_DATA_HOME nor HOME is set.
std::string UserDataFolder();
// The running program's workspace folder, with a trailing "/".
std::string WorkspaceFolderOfExecutable();
