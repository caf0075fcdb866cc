#pragma once
#include <memory>
#include <optional>
#include <string>

#include <QString>

#include "ClipboardCopy.h"

// What the workspace handlers need from the desktop: dialogs, the clipboard
// and the error report. The main window supplies the real ones; tests use a
// fake. Paths are in the file system's encoding; clipboard text is CP932.
class TWorkspaceServices {
public:
    virtual ~TWorkspaceServices() = default;

    // Filters use the "label|pattern|label|pattern" form.
    virtual std::optional<std::string> ChooseOpenFile(const QString& filter) = 0;
    virtual std::optional<std::string> ChooseSaveFile(const QString& filter, const QString& proposedName) = 0;
    // Returns the folder the user picked or typed; it may not exist yet.
    virtual std::optional<std::string> ChooseFolder(const QString& title) = 0;
    // A yes/no question; true for yes.
    virtual bool Confirm(const QString& question) = 0;
    // A yes/no question whose default answer is no; true for yes.
    virtual bool ConfirmDefaultNo(const QString& question) { return Confirm(question); }

    // What the clipboard holds now, its owner asked once (ClipboardCopy.h).
    virtual std::unique_ptr<TClipboardCopy> LookAtClipboard() = 0;
    virtual void SetClipboardText(const std::string& cp932) = 0;
    // The same for text the caller no longer needs, such as a whole list of
    // tens of megabytes: a desktop may keep it without copying.
    virtual void GiveClipboardText(std::string cp932) { SetClipboardText(cp932); }

    // The application's default error report (message box, stop icon).
    virtual void ReportError(const QString& text) = 0;
    // A plain information box (the farewell greeting).
    virtual void ShowMessage(const QString& text) = 0;
};
