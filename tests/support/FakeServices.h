#pragma once
// A scripted desktop for the workspace handlers: dialog answers are queued
// in advance, the clipboard is a string, and what the handlers show is
// recorded.
#include <deque>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include <QStringList>

#include "WorkspaceServices.h"

class TFakeServices : public TWorkspaceServices {
public:
    std::deque<std::optional<std::string>> Files, Folders;  // dialog answers
    bool ConfirmAnswer = true, HasText = true, ReadFails = false, WriteFails = false, Secret = false;
    int TextReads = 0;
    std::string Clipboard;
    const bool* ClipIgnore = nullptr;  // sampled at every clipboard write
    QStringList Filters, Proposed, Titles, Questions, Errors, Messages;
    std::vector<bool> IgnoredWrites;

    std::optional<std::string> ChooseOpenFile(const QString& f) override
    {
        Filters << f;
        return Next(Files);
    }
    std::optional<std::string> ChooseSaveFile(const QString& f, const QString& name) override
    {
        Filters << f;
        Proposed << name;
        return Next(Files);
    }
    std::optional<std::string> ChooseFolder(const QString& title) override
    {
        Titles << title;
        return Next(Folders);
    }
    bool Confirm(const QString& question) override
    {
        Questions << question;
        return ConfirmAnswer;
    }
    bool ClipboardHasText() override { return HasText; }
    bool ClipboardMarkedSecret() override { return Secret; }
    std::string ClipboardText() override
    {
        ++TextReads;
        if (ReadFails)
            throw std::runtime_error("clipboard busy");
        return Clipboard;
    }
    void SetClipboardText(const std::string& text) override
    {
        if (WriteFails)
            throw std::runtime_error("clipboard busy");
        Clipboard = text;
        IgnoredWrites.push_back(ClipIgnore && *ClipIgnore);
    }
    void ReportError(const QString& text) override { Errors << text; }
    void ShowMessage(const QString& text) override { Messages << text; }

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
