#pragma once
// Desktop services that answer nothing: the benchmarks drive the workspace's
// list handlers, which need none of the desktop.
#include "WorkspaceServices.h"

class TNoDesktop : public TWorkspaceServices {
public:
    std::optional<std::string> ChooseOpenFile(const QString&) override { return std::nullopt; }
    std::optional<std::string> ChooseSaveFile(const QString&, const QString&) override
    {
        return std::nullopt;
    }
    std::optional<std::string> ChooseFolder(const QString&) override { return std::nullopt; }
    bool Confirm(const QString&) override { return false; }
    bool ClipboardHasText() override { return false; }
    std::string ClipboardText() override { return {}; }
    void SetClipboardText(const std::string&) override { }
    void ReportError(const QString&) override { }
    void ShowMessage(const QString&) override { }
};
