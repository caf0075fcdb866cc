#pragma once
// The workspace's dialogs, clipboard and error report on this desktop.

#include "workspace/WorkspaceServices.h"

class QWidget;

// A yes/no question with the program's own "はい"/"いいえ" buttons; true
// for yes. Escape answers no.
bool AskYesNo(QWidget* parent, const QString& question, bool yesIsDefault);

class TDesktopServices : public TWorkspaceServices {
public:
    // window: the parent of every dialog.
    explicit TDesktopServices(QWidget* window);

    std::optional<std::string> ChooseOpenFile(const QString& filter) override;
    std::optional<std::string> ChooseSaveFile(const QString& filter, const QString& proposedName) override;
    std::optional<std::string> ChooseFolder(const QString& title) override;
    bool Confirm(const QString& question) override;
    bool ConfirmDefaultNo(const QString& question) override;

    std::unique_ptr<TClipboardCopy> LookAtClipboard() override;
    void SetClipboardText(const std::string& cp932) override;
    void GiveClipboardText(std::string cp932) override;

    void ReportError(const QString& text) override;
    void ShowMessage(const QString& text) override;

private:
    QWidget* FWindow;
};
