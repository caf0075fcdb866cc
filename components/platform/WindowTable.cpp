#include "WindowTable.h"

HWND TWindowTable::Create(TWindowProc proc)
{
    // Handles are not reused, so a message meant for a destroyed window
    // cannot reach a newer one.
    do {
        lastHandle_ += 2;
        if (lastHandle_ < 0x100)
            lastHandle_ = 0x102;
    } while (procs_.count(lastHandle_));
    procs_.emplace(lastHandle_, std::move(proc));
    return lastHandle_;
}

void TWindowTable::Destroy(HWND window)
{
    procs_.erase(window);
}

LRESULT TWindowTable::Send(HWND window, UINT uMsg, WPARAM wParam, LPARAM lParam) const
{
    auto found = procs_.find(window);
    if (found == procs_.end())
        return 0;
    // A copy: the procedure may destroy its own window while it runs.
    TWindowProc proc = found->second;
    return proc(uMsg, wParam, lParam);
}
