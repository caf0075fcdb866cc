#include "QvClipDetector.h"

#include <QScopeGuard>

TQvClipDetector::TQvClipDetector(QObject* owner) : TComponent(owner)
{ }

TQvClipDetector::~TQvClipDetector()
{
    if (WindowHandle_ != 0)
        LeaveChain();
}

void TQvClipDetector::SetOnClipChange(TNotifyEvent handler)
{
    if (!handler) {
        if (WindowHandle_ != 0)
            LeaveChain();
        return;
    }
    if (WindowHandle_ != 0) {
        OnClipChange_ = std::move(handler);
        return;
    }
    TPlatform& platform = CurrentPlatform();
    const HWND window = platform.CreateHiddenWindow(
        [this](UINT uMsg, WPARAM wParam, LPARAM lParam) { return ViewerWindowProc(uMsg, wParam, lParam); });
    if (window == 0)
        throw EOutOfResources("TQvClipDetector.SetOnClipChange: Cannot Allocate HWnd");
    WindowHandle_ = window;
    OnClipChange_ = std::move(handler);
    // Registering is true exactly for the registration call, even when a
    // handler raises from the notification delivered during it.
    Registering_ = true;
    const auto registered = qScopeGuard([this] { Registering_ = false; });
    NextViewer_ = platform.SetClipboardViewer(WindowHandle_);
}

void TQvClipDetector::LeaveChain()
{
    TPlatform& platform = CurrentPlatform();
    platform.ChangeClipboardChain(WindowHandle_, NextViewer_);
    platform.DestroyHiddenWindow(WindowHandle_);
    WindowHandle_ = 0;
    OnClipChange_ = nullptr;
}

void TQvClipDetector::DoClipChange()
{
    if (OnClipChange_) {
        // A copy: the handler may replace or remove itself.
        TNotifyEvent handler = OnClipChange_;
        handler(this);
    }
}

LRESULT TQvClipDetector::ViewerWindowProc(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    TPlatform& platform = CurrentPlatform();
    switch (uMsg) {
    case WM_DRAWCLIPBOARD:
        if (!IgnoreFirst_ || !Registering_)
            DoClipChange();
        if (NextViewer_ != 0)
            platform.SendMessage(NextViewer_, WM_DRAWCLIPBOARD, 0, 0);
        return 0;
    case WM_CHANGECBCHAIN:
        if (wParam == NextViewer_) {
            NextViewer_ = lParam;
            return 0;
        }
        if (NextViewer_ == 0)
            return 0;
        return platform.SendMessage(NextViewer_, WM_CHANGECBCHAIN, wParam, lParam);
    default:
        return platform.DefWindowProc(WindowHandle_, uMsg, wParam, lParam);
    }
}
