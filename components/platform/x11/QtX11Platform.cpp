#include "QtX11Platform.h"

#include <QCoreApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QMenu>
#include <QStyleHints>
#include <QWidget>

TQtX11Platform::TQtX11Platform()
    : clipboard_(windows_), tray_([this](HWND window, UINT uMsg, WPARAM wParam, LPARAM lParam) {
          Post(window, uMsg, wParam, lParam);
      })
{ }

HWND TQtX11Platform::CreateHiddenWindow(TWindowProc proc)
{
    // Without a GUI application there is nothing to listen to.
    if (!TClipboardWatch::CanListen())
        return 0;
    return windows_.Create(std::move(proc));
}

void TQtX11Platform::DestroyHiddenWindow(HWND window)
{
    clipboard_.RemoveViewer(window);
    windows_.Destroy(window);
}

LRESULT TQtX11Platform::SendMessage(HWND window, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    return windows_.Send(window, uMsg, wParam, lParam);
}

LRESULT TQtX11Platform::DefWindowProc(HWND, UINT, WPARAM, LPARAM)
{
    return 0;
}

HWND TQtX11Platform::SetClipboardViewer(HWND viewer)
{
    if (windows_.Exists(viewer))
        clipboard_.AddViewer(viewer);
    return 0;
}

bool TQtX11Platform::ChangeClipboardChain(HWND remove, HWND)
{
    clipboard_.RemoveViewer(remove);
    return true;
}

bool TQtX11Platform::ShellNotifyIcon(UINT operation, const TNotifyIconData& data)
{
    switch (operation) {
    case NIM_ADD:
        return tray_.Add(data);
    case NIM_MODIFY:
        return tray_.Modify(data);
    case NIM_DELETE:
        return tray_.Delete(data);
    default:
        return false;
    }
}

QPoint TQtX11Platform::CursorPos()
{
    return QCursor::pos();
}

unsigned TQtX11Platform::DoubleClickTime()
{
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return 500;
    return static_cast<unsigned>(QGuiApplication::styleHints()->mouseDoubleClickInterval());
}

void TQtX11Platform::SetForegroundWindow(QWidget* window)
{
    // A window resting in the tray stays where it is: the menu must not bring it back.
    if (!window || !window->isVisible() || window->isMinimized())
        return;
    window->raise();
    window->activateWindow();
}

void TQtX11Platform::ProcessMessages()
{
    QCoreApplication::processEvents();
}

void TQtX11Platform::PopupMenu(QMenu* menu, QPoint screenPos)
{
    if (menu)
        menu->popup(screenPos);
}

void TQtX11Platform::Post(HWND window, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    // Like a posted message: handled later by the event loop, so a handler
    // may freely hide or delete the icon that was clicked.
    QMetaObject::invokeMethod(
        QCoreApplication::instance(),
        [this, window, uMsg, wParam, lParam] { windows_.Send(window, uMsg, wParam, lParam); },
        Qt::QueuedConnection);
}
