#pragma once
// What the components need from the desktop: hidden windows that receive
// messages, the clipboard viewer chain, the notification area, and a few
// pointer and window services. One implementation per backend; the program
// uses the desktop one, tests install the fake.

#include <QIcon>
#include <QPoint>
#include <array>
#include <cstdint>
#include <functional>

class QMenu;
class QWidget;

using HWND = std::uint32_t;  // 0 = no window
using UINT = std::uint32_t;
using WPARAM = std::uint32_t;
using LPARAM = std::uint32_t;
using LRESULT = std::int32_t;

constexpr UINT WM_USER = 0x0400;
constexpr UINT WM_DRAWCLIPBOARD = 0x0308;
constexpr UINT WM_CHANGECBCHAIN = 0x030D;
constexpr UINT WM_MOUSEMOVE = 0x0200;
constexpr UINT WM_LBUTTONDOWN = 0x0201;
constexpr UINT WM_LBUTTONUP = 0x0202;
constexpr UINT WM_LBUTTONDBLCLK = 0x0203;
constexpr UINT WM_RBUTTONDOWN = 0x0204;
constexpr UINT WM_RBUTTONUP = 0x0205;
constexpr UINT WM_RBUTTONDBLCLK = 0x0206;
constexpr UINT WM_MBUTTONDOWN = 0x0207;
constexpr UINT WM_MBUTTONUP = 0x0208;

constexpr UINT NIM_ADD = 0;
constexpr UINT NIM_MODIFY = 1;
constexpr UINT NIM_DELETE = 2;
constexpr UINT NIF_MESSAGE = 1;
constexpr UINT NIF_ICON = 2;
constexpr UINT NIF_TIP = 4;

using TWindowProc = std::function<LRESULT(UINT uMsg, WPARAM wParam, LPARAM lParam)>;

// The record handed to the notification area for one icon.
struct TNotifyIconData {
    std::uint32_t cbSize = 0;
    HWND hWnd = 0;
    UINT uID = 0;
    UINT uFlags = 0;
    UINT uCallbackMessage = 0;
    QIcon hIcon;                   // null = no icon
    std::array<char, 64> szTip{};  // CP932 bytes, zero-terminated
    // The menu a right press opens, for notification areas that show only a
    // menu the icon exports and never report the press; null = none.
    QMenu* hMenu = nullptr;
};

class TPlatform {
public:
    virtual ~TPlatform() = default;

    // Hidden windows: messages sent to the handle go to `proc` on the UI thread.
    virtual HWND CreateHiddenWindow(TWindowProc proc) = 0;  // 0 on failure
    virtual void DestroyHiddenWindow(HWND window) = 0;
    virtual LRESULT SendMessage(HWND window, UINT uMsg, WPARAM wParam, LPARAM lParam) = 0;
    virtual LRESULT DefWindowProc(HWND window, UINT uMsg, WPARAM wParam, LPARAM lParam) = 0;

    // Clipboard viewer chain. Registration sends the new viewer one
    // WM_DRAWCLIPBOARD before returning the previous head of the chain.
    virtual HWND SetClipboardViewer(HWND viewer) = 0;
    virtual bool ChangeClipboardChain(HWND remove, HWND next) = 0;

    // Notification area: add, modify or delete the icon (hWnd, uID). While
    // the icon is present, mouse actions on it arrive as uCallbackMessage sent
    // to hWnd with wParam = uID and lParam = the mouse message. A backend
    // whose notification area opens menus itself exports hMenu, and its
    // entries act there directly; elsewhere hMenu is ignored.
    virtual bool ShellNotifyIcon(UINT operation, const TNotifyIconData& data) = 0;

    virtual QPoint CursorPos() = 0;
    virtual unsigned DoubleClickTime() = 0;  // milliseconds
    virtual void SetForegroundWindow(QWidget* window) = 0;
    virtual void ProcessMessages() = 0;
    virtual void PopupMenu(QMenu* menu, QPoint screenPos) = 0;
};

// The process-wide backend; the desktop one unless a test installed another.
TPlatform& CurrentPlatform();
// Installs `platform` (nullptr restores the desktop backend); returns the
// previously installed one (nullptr when that was the desktop backend).
TPlatform* SetCurrentPlatform(TPlatform* platform);
