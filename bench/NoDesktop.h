#pragma once
// Desktop services that answer nothing: the benchmarks drive the workspace's
// list handlers, which need none of the desktop.
#include "workspace/WorkspaceServices.h"

class TNoDesktop : public TWorkspaceServices {
protected:
    // A copy of the formats given, whose text is Text.
    class TCopy final : public TClipboardCopy {
    public:
        explicit TCopy(QStringList formats, std::string text = {})
            : TClipboardCopy(std::move(formats)), FText(std::move(text))
        { }

    private:
        std::string ReadText() override { return FText; }
        std::string FText;
    };

public:
    std::optional<std::string> ChooseOpenFile(const QString&) override { return std::nullopt; }
    std::optional<std::string> ChooseSaveFile(const QString&, const QString&) override
    {
        return std::nullopt;
    }
    std::optional<std::string> ChooseFolder(const QString&) override { return std::nullopt; }
    bool Confirm(const QString&) override { return false; }
    std::unique_ptr<TClipboardCopy> LookAtClipboard() override
    {
        return std::make_unique<TCopy>(QStringList());
    }
    void SetClipboardText(const std::string&) override { }
    void ReportError(const QString&) override { }
    void ShowMessage(const QString&) override { }
};
