#include "TrayIcon.h"

#include <algorithm>
#include <string>

QPointer<TCallbackWindow> CallbackWindow;

namespace {

TTrayIcon* FindIcon(WPARAM id)
{
    const std::string text = std::to_string(id);
    auto entry = std::find_if(IconList.begin(), IconList.end(),
                              [&](const TIconListEntry& e) { return e.Text == text; });
    return entry == IconList.end() ? nullptr : entry->Icon;
}

TShiftState ShiftOf(TMouseButton button)
{
    switch (button) {
    case TMouseButton::mbLeft:
        return ssLeft;
    case TMouseButton::mbRight:
        return ssRight;
    case TMouseButton::mbMiddle:
        return ssMiddle;
    }
    return 0;
}

// Events are copied before the call: a handler may reassign itself.
void RaiseMouse(TTrayIcon* icon, const TMouseEvent& event, TMouseButton button, QPoint at)
{
    if (TMouseEvent handler = event)
        handler(icon, button, ShiftOf(button), at.x(), at.y());
}

void RaiseNotify(TTrayIcon* icon, const TNotifyEvent& event)
{
    if (TNotifyEvent handler = event)
        handler(icon);
}

}  // namespace

TCallbackWindow::TCallbackWindow(QObject* owner) : QWidget(qobject_cast<QWidget*>(owner))
{
    setObjectName(QStringLiteral("CallbackWindow"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    setGeometry(0, 0, 0, 0);
    hide();
    if (owner && !qobject_cast<QWidget*>(owner))
        connect(owner, &QObject::destroyed, this, [this] { delete this; });
}

TCallbackWindow::~TCallbackWindow()
{
    if (Handle_ != 0)
        CurrentPlatform().DestroyHiddenWindow(Handle_);
}

HWND TCallbackWindow::Handle()
{
    if (Handle_ == 0) {
        Handle_ =
            CurrentPlatform().CreateHiddenWindow([this](UINT uMsg, WPARAM wParam, LPARAM lParam) -> LRESULT {
                if (uMsg == WM_TRAYNOTIFY) {
                    WMTrayNotify(wParam, lParam);
                    return 0;
                }
                return CurrentPlatform().DefWindowProc(Handle_, uMsg, wParam, lParam);
            });
    }
    return Handle_;
}

void TCallbackWindow::WMTrayNotify(WPARAM wParam, LPARAM lParam)
{
    TTrayIcon* icon = FindIcon(wParam);
    if (!icon)
        return;
    CurrentIcon_ = icon;
    if (!icon->Enabled())
        return;
    const QPoint at = CurrentPlatform().CursorPos();
    switch (lParam) {
    case WM_MOUSEMOVE:
        if (TMouseMoveEvent handler = icon->OnMouseMove)
            handler(icon, 0, at.x(), at.y());
        break;
    case WM_LBUTTONDOWN:
        MenuOrMouseDown(icon, icon->LBPopupMenu(), TMouseButton::mbLeft, at);
        break;
    case WM_LBUTTONUP:
        LeftRelease(icon, at);
        break;
    case WM_LBUTTONDBLCLK:
        icon->ClickPending_ = true;
        RaiseNotify(icon, icon->OnDblClick);
        break;
    case WM_RBUTTONDOWN:
        MenuOrMouseDown(icon, icon->RBPopupMenu(), TMouseButton::mbRight, at);
        break;
    case WM_RBUTTONUP:
        RaiseMouse(icon, icon->OnMouseUp, TMouseButton::mbRight, at);
        break;
    case WM_MBUTTONDOWN:
        RaiseMouse(icon, icon->OnMouseDown, TMouseButton::mbMiddle, at);
        break;
    case WM_MBUTTONUP:
        RaiseMouse(icon, icon->OnMouseUp, TMouseButton::mbMiddle, at);
        break;
    default:
        break;  // double clicks of the other buttons mean nothing
    }
}

void TCallbackWindow::MenuOrMouseDown(TTrayIcon* icon, TPopupMenu* menu, TMouseButton button, QPoint at)
{
    if (!menu || !icon->AutoPopup()) {
        RaiseMouse(icon, icon->OnMouseDown, button, at);
        return;
    }
    // Pending messages handled in the foreground step may remove the menu.
    QPointer<TPopupMenu> guardedMenu = menu;
    if (QWidget* form = icon->OwnerForm()) {
        TPlatform& platform = CurrentPlatform();
        platform.SetForegroundWindow(form);
        platform.ProcessMessages();
    }
    if (guardedMenu)
        guardedMenu->Popup(at.x(), at.y());
}

void TCallbackWindow::LeftRelease(TTrayIcon* icon, QPoint at)
{
    if (icon->OnMouseUp) {
        RaiseMouse(icon, icon->OnMouseUp, TMouseButton::mbLeft, at);
        return;
    }
    if (!icon->OnClick) {
        icon->ClickPending_ = false;
    } else if (!icon->ClickPending_) {
        icon->ClickPending_ = true;
        new TSingleClick(CurrentPlatform().DoubleClickTime() + 50);
    } else {
        icon->ClickPending_ = false;  // the release that ends a double-click
    }
}

void TCallbackWindow::SingleClickDone()
{
    // The icon may have gone while the wait ran.
    QPointer<TTrayIcon> icon = CurrentIcon_;
    if (!icon)
        return;
    if (icon->OnClick && icon->ClickPending_)
        RaiseNotify(icon, icon->OnClick);
    if (icon)
        icon->ClickPending_ = false;
}

TSingleClick::TSingleClick(unsigned waitMs) : waitMs_(waitMs)
{
    if (TCallbackWindow* window = CallbackWindow)
        connect(this, &QThread::finished, window, [window] { window->SingleClickDone(); });
    // Queued after SingleClickDone, so the thread object outlives that call.
    connect(this, &QThread::finished, this, &QObject::deleteLater);
    start();
}

void TSingleClick::run()
{
    QThread::msleep(waitMs_);
}
