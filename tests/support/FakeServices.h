#pragma once
// A scripted desktop for the workspace handlers: dialog answers are queued
// in advance, the clipboard is a string, and what the handlers show is
// recorded.
#include <deque>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include <QStringList>

#include "workspace/WorkspaceServices.h"
#include "workspace/monitor/ClipboardMonitoring.h"

class TFakeServices : public TWorkspaceServices {
public:
    std::deque<std::optional<std::string>> Files, Folders;  // dialog answers
    bool ConfirmAnswer = true, HasText = true, ReadFails = false, WriteFails = false, Secret = false,
         Silent = false;
    int TextReads = 0, Looks = 0;
    std::string Clipboard;
    const TClipboardMonitoring* Monitoring = nullptr;  // sampled at every clipboard write
    QStringList Filters, Proposed, Titles, Questions, Errors, Messages;
    std::vector<bool> IgnoredWrites;
    // Runs while a file dialog is open, as events do under a real one.
    std::function<void()> WhileChoosing;

    std::optional<std::string> ChooseOpenFile(const QString& f) override
    {
        Filters << f;
        if (WhileChoosing)
            WhileChoosing();
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
    // Silent: an owner that never tells its forms.
    std::unique_ptr<TClipboardCopy> LookAtClipboard() override
    {
        ++Looks;
        QStringList formats;
        if (!Silent)
            formats << (HasText ? "text/plain" : "image/png");
        if (!Silent && Secret)
            formats << "x-kde-passwordManagerHint";
        return std::make_unique<TCopy>(*this, formats);
    }
    void SetClipboardText(const std::string& text) override
    {
        if (WriteFails)
            throw std::runtime_error("clipboard busy");
        Clipboard = text;
        IgnoredWrites.push_back(Monitoring && Monitoring->WritingOwnCopy());
    }
    void ReportError(const QString& text) override { Errors << text; }
    void ShowMessage(const QString& text) override { Messages << text; }

private:
    class TCopy final : public TClipboardCopy {
    public:
        TCopy(TFakeServices& services, const QStringList& formats)
            : TClipboardCopy(formats), FServices(services)
        { }

    private:
        std::string ReadText() override
        {
            ++FServices.TextReads;
            if (FServices.ReadFails)
                throw std::runtime_error("clipboard busy");
            return FServices.Clipboard;
        }
        TFakeServices& FServices;
    };

    static std::optional<std::string> Next(std::deque<std::optional<std::string>>& answers)
    {
        if (answers.empty())
            return std::nullopt;
        auto answer = answers.front();
        answers.pop_front();
        return answer;
    }
};
