#pragma once
// The desktop backend: Qt over X11.

#include "../Platform.h"
#include "../WindowTable.h"
#include "ClipboardWatch.h"
#include "TrayIconHost.h"

class TQtX11Platform : public TPlatform {
public:
    TQtX11Platform();

    HWND CreateHiddenWindow(TWindowProc proc) override;
    void DestroyHiddenWindow(HWND window) override;
    LRESULT SendMessage(HWND window, UINT uMsg, WPARAM wParam, LPARAM lParam) override;
    LRESULT DefWindowProc(HWND window, UINT uMsg, WPARAM wParam, LPARAM lParam) override;

    HWND SetClipboardViewer(HWND viewer) override;
    bool ChangeClipboardChain(HWND remove, HWND next) override;

    bool ShellNotifyIcon(UINT operation, const TNotifyIconData& data) override;

    QPoint CursorPos() override;
    unsigned DoubleClickTime() override;
    void SetForegroundWindow(QWidget* window) override;
    void ProcessMessages() override;
    void PopupMenu(QMenu* menu, QPoint screenPos) override;

private:
    void Post(HWND window, UINT uMsg, WPARAM wParam, LPARAM lParam);

    TWindowTable windows_;
    TClipboardWatch clipboard_;
    TTrayIconHost tray_;
};
