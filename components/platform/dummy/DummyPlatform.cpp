#include "DummyPlatform.h"

#include <algorithm>

HWND TDummyPlatform::CreateHiddenWindow(TWindowProc proc)
{
    if (FailWindowCreation)
        return 0;
    ++HiddenWindowsCreated;
    return windows_.Create(std::move(proc));
}

void TDummyPlatform::DestroyHiddenWindow(HWND window)
{
    if (!windows_.Exists(window))
        return;
    ++HiddenWindowsDestroyed;
    windows_.Destroy(window);
}

LRESULT TDummyPlatform::SendMessage(HWND window, UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    Sent.push_back({window, uMsg, wParam, lParam});
    return windows_.Send(window, uMsg, wParam, lParam);
}

LRESULT TDummyPlatform::DefWindowProc(HWND, UINT, WPARAM, LPARAM)
{
    return 0;
}

HWND TDummyPlatform::SetClipboardViewer(HWND viewer)
{
    const HWND previousHead = chain_.empty() ? 0 : chain_.front();
    chain_.insert(chain_.begin(), viewer);
    SendMessage(viewer, WM_DRAWCLIPBOARD, 0, 0);
    return previousHead;
}

bool TDummyPlatform::ChangeClipboardChain(HWND remove, HWND next)
{
    auto found = std::find(chain_.begin(), chain_.end(), remove);
    if (found == chain_.end())
        return false;
    const bool wasHead = found == chain_.begin();
    chain_.erase(found);
    // The viewers themselves relink the chain by passing the notice along.
    if (!wasHead && !chain_.empty())
        SendMessage(chain_.front(), WM_CHANGECBCHAIN, remove, next);
    return true;
}

void TDummyPlatform::ChangeClipboard()
{
    if (!chain_.empty())
        SendMessage(chain_.front(), WM_DRAWCLIPBOARD, 0, 0);
}

bool TDummyPlatform::ShellNotifyIcon(UINT operation, const TNotifyIconData& data)
{
    const bool succeeded = Notify(operation, data);
    NotifyCalls.push_back({operation, data, succeeded});
    return succeeded;
}

bool TDummyPlatform::Notify(UINT operation, const TNotifyIconData& data)
{
    const std::pair<HWND, UINT> key{data.hWnd, data.uID};
    switch (operation) {
    case NIM_ADD:
        if (RefuseAdds || shown_.count(key))
            return false;
        shown_.emplace(key, data.uCallbackMessage);
        return true;
    case NIM_MODIFY:
        return !RefuseModifies && shown_.count(key);
    case NIM_DELETE:
        return shown_.erase(key) != 0;
    default:
        return false;
    }
}

bool TDummyPlatform::MouseOnIcon(UINT id, UINT mouseMessage)
{
    for (const auto& [key, callbackMessage] : shown_) {
        if (key.second == id) {
            SendMessage(key.first, callbackMessage, id, mouseMessage);
            return true;
        }
    }
    return false;
}

std::vector<UINT> TDummyPlatform::NotifyOperations() const
{
    std::vector<UINT> operations;
    for (const auto& call : NotifyCalls)
        operations.push_back(call.operation);
    return operations;
}
