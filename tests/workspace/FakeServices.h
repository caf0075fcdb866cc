#pragma once
// A scripted desktop for the workspace handlers: dialog answers are queued
// in advance, everything the handlers ask for or show is recorded.
#include <deque>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include <QString>
#include <QStringList>

#include "WorkspaceServices.h"

class TFakeServices : public TWorkspaceServices {
public:
    // ---- Scripted answers ----
    std::deque<std::optional<std::string>> FileAnswers;   // open and save dialogs
    std::deque<std::optional<std::string>> FolderAnswers;
    bool ConfirmAnswer = true;
    bool HasText = true;
    std::string ClipboardContents;
    bool ClipboardReadFails = false;
    // Observed by the fake at the moment of each clipboard write.
    const bool* ClipIgnoreToWatch = nullptr;

    // ---- Recorded calls ----
    QStringList DialogFilters;
    QStringList ProposedNames;
    QStringList FolderTitles;
    QStringList Questions;
    std::vector<std::string> ClipboardWrites;
    std::vector<bool> ClipIgnoreDuringWrites;
    QStringList Errors;
    QStringList Messages;
    int ExtentResets = 0;

    std::optional<std::string> ChooseOpenFile(const QString& filter) override
    {
        DialogFilters << filter;
        return NextFileAnswer();
    }
    std::optional<std::string> ChooseSaveFile(const QString& filter, const QString& proposedName) override
    {
        DialogFilters << filter;
        ProposedNames << proposedName;
        return NextFileAnswer();
    }
    std::optional<std::string> ChooseFolder(const QString& title) override
    {
        FolderTitles << title;
        if (FolderAnswers.empty())
            return std::nullopt;
        auto answer = FolderAnswers.front();
        FolderAnswers.pop_front();
        return answer;
    }
    bool Confirm(const QString& question) override
    {
        Questions << question;
        return ConfirmAnswer;
    }
    bool ClipboardHasText() override { return HasText; }
    std::string ClipboardText() override
    {
        if (ClipboardReadFails)
            throw std::runtime_error("clipboard busy");
        return ClipboardContents;
    }
    void SetClipboardText(const std::string& cp932) override
    {
        ClipboardContents = cp932;
        ClipboardWrites.push_back(cp932);
        if (ClipIgnoreToWatch)
            ClipIgnoreDuringWrites.push_back(*ClipIgnoreToWatch);
    }
    void ReportError(const QString& text) override { Errors << text; }
    void ShowMessage(const QString& text) override { Messages << text; }
    void ResetListHorizontalExtent() override { ++ExtentResets; }

private:
    std::optional<std::string> NextFileAnswer()
    {
        if (FileAnswers.empty())
            return std::nullopt;
        auto answer = FileAnswers.front();
        FileAnswers.pop_front();
        return answer;
    }
};
