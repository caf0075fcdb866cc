#pragma once
// A scriptable fake desktop for tests: a real viewer chain of hidden windows,
// a notification area that records every call and can refuse, and settable
// pointer position and double-click time.

#include "../Platform.h"
#include "../WindowTable.h"

#include <map>
#include <utility>
#include <vector>

class TDummyPlatform : public TPlatform {
public:
    struct TSentMessage {
        HWND window;
        UINT uMsg;
        WPARAM wParam;
        LPARAM lParam;
    };
    struct TNotifyCall {
        UINT operation;
        TNotifyIconData data;
        bool succeeded;
    };

    // Scripting.
    bool FailWindowCreation = false;
    bool RefuseAdds = false;
    bool RefuseModifies = false;
    QPoint Cursor{0, 0};
    unsigned DoubleClickMs = 500;

    // What happened.
    std::vector<TSentMessage> Sent;        // every SendMessage, in order
    std::vector<TNotifyCall> NotifyCalls;  // every ShellNotifyIcon, in order
    std::vector<std::pair<QMenu*, QPoint>> Popups;
    std::vector<QWidget*> ForegroundCalls;
    int ProcessMessagesCalls = 0;
    int HiddenWindowsCreated = 0;
    int HiddenWindowsDestroyed = 0;

    // The viewer chain, head first.
    const std::vector<HWND>& Chain() const { return chain_; }
    // A change of the clipboard contents: WM_DRAWCLIPBOARD to the head of the chain.
    void ChangeClipboard();
    int LiveHiddenWindows() const { return HiddenWindowsCreated - HiddenWindowsDestroyed; }
    // Icons currently in the notification area: (window, identifier) to callback message.
    const std::map<std::pair<HWND, UINT>, UINT>& ShownIcons() const { return shown_; }
    // A mouse action on a shown icon; false when no such icon is shown.
    bool MouseOnIcon(UINT id, UINT mouseMessage);
    std::vector<UINT> NotifyOperations() const;

    HWND CreateHiddenWindow(TWindowProc proc) override;
    void DestroyHiddenWindow(HWND window) override;
    LRESULT SendMessage(HWND window, UINT uMsg, WPARAM wParam, LPARAM lParam) override;
    LRESULT DefWindowProc(HWND window, UINT uMsg, WPARAM wParam, LPARAM lParam) override;
    HWND SetClipboardViewer(HWND viewer) override;
    bool ChangeClipboardChain(HWND remove, HWND next) override;
    bool ShellNotifyIcon(UINT operation, const TNotifyIconData& data) override;
    QPoint CursorPos() override { return Cursor; }
    unsigned DoubleClickTime() override { return DoubleClickMs; }
    void SetForegroundWindow(QWidget* window) override { ForegroundCalls.push_back(window); }
    void ProcessMessages() override { ++ProcessMessagesCalls; }
    void PopupMenu(QMenu* menu, QPoint screenPos) override { Popups.emplace_back(menu, screenPos); }

private:
    bool Notify(UINT operation, const TNotifyIconData& data);

    TWindowTable windows_;
    std::vector<HWND> chain_;
    std::map<std::pair<HWND, UINT>, UINT> shown_;
};

// Installs a fresh fake for one scope and puts the previous backend back.
class TDummyPlatformScope {
public:
    TDummyPlatformScope() : previous_(SetCurrentPlatform(&platform_)) { }
    ~TDummyPlatformScope() { SetCurrentPlatform(previous_); }
    TDummyPlatformScope(const TDummyPlatformScope&) = delete;
    TDummyPlatformScope& operator=(const TDummyPlatformScope&) = delete;
    TDummyPlatform& operator*() { return platform_; }
    TDummyPlatform* operator->() { return &platform_; }

private:
    TDummyPlatform platform_;
    TPlatform* previous_;
};
