#pragma once
// The desktop as the window tests script it: dialog answers queued in
// advance, the clipboard as a string, reports recorded.
#include <deque>
#include <optional>
#include <string>

#include <QStringList>

#include "WorkspaceServices.h"

class TScriptedServices : public TWorkspaceServices {
public:
    std::deque<std::optional<std::string>> Files;
    std::deque<std::optional<std::string>> Folders;
    bool HasText = true;
    std::string Clipboard;  // CP932
    QStringList Errors;
    QStringList Messages;

    std::optional<std::string> ChooseOpenFile(const QString&) override { return Next(Files); }
    std::optional<std::string> ChooseSaveFile(const QString&, const QString&) override { return Next(Files); }
    std::optional<std::string> ChooseFolder(const QString&) override { return Next(Folders); }
    bool Confirm(const QString&) override { return true; }
    bool ClipboardHasText() override { return HasText; }
    std::string ClipboardText() override { return Clipboard; }
    void SetClipboardText(const std::string& text) override { Clipboard = text; }
    void ReportError(const QString& text) override { Errors << text; }
    void ShowMessage(const QString& text) override { Messages << text; }
    void ResetListHorizontalExtent() override {}

private:
    static std::optional<std::string> Next(std::deque<std::optional<std::string>>& answers)
    {
        if (answers.empty())
            return std::nullopt;
        auto answer = answers.front();
        answers.pop_front();
        return answer;
    }
};
