#pragma once
// Tells its owner every time the clipboard contents change, by taking part in
// the platform's clipboard viewer chain through a hidden window of its own.

#include "ComponentFramework.h"
#include "platform/Platform.h"

class TQvClipDetector : public TComponent {
public:
    explicit TQvClipDetector(QObject* owner);
    ~TQvClipDetector() override;

    // Assigning a handler joins the chain, assigning none leaves it. Throws
    // EOutOfResources when the hidden window cannot be created.
    void SetOnClipChange(TNotifyEvent handler);
    const TNotifyEvent& OnClipChange() const { return OnClipChange_; }

    bool IgnoreFirst() const { return IgnoreFirst_; }
    void SetIgnoreFirst(bool value) { IgnoreFirst_ = value; }

    HWND NextViewer() const { return NextViewer_; }
    HWND WindowHandle() const { return WindowHandle_; }
    bool Registering() const { return Registering_; }

protected:
    virtual void DoClipChange();

private:
    LRESULT ViewerWindowProc(UINT uMsg, WPARAM wParam, LPARAM lParam);
    void LeaveChain();

    HWND NextViewer_ = 0;
    TNotifyEvent OnClipChange_;
    bool Registering_ = false;
    bool IgnoreFirst_ = true;
    HWND WindowHandle_ = 0;
};
