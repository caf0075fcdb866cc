#pragma once
// The workspace files that could not be read at start or saved at close,
// and the texts that tell the user about them.
#include <exception>
#include <string>
#include <vector>

#include <QString>

struct TFileProblem {
    std::string Path;  // in the file system's encoding
    QString Reason;
};
using TFileProblems = std::vector<TFileProblem>;

// A system error number in the user's words, always in Japanese.
QString SystemErrorReason(int code);
// What went wrong, in the user's words: a folder in the file's place, access
// denied, a full disk, or else the failure's own text.
QString FileProblemReason(const std::exception& failure);
// The reason given at close for a file that was not read at start.
QString NotReadAtStartReason();

// One line a file: "<path> を読み込めません（<reason>）。終了時に保存しません。"
QString UnreadableFilesText(const TFileProblems& problems);
// One line a file: "<path>：<reason>"
QString UnsavedFilesText(const TFileProblems& problems);
QString CloseWithoutSavingQuestion();
