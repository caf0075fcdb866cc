#pragma once
// Hidden windows of one backend: handles mapped to their message procedures.

#include "Platform.h"

#include <unordered_map>

class TWindowTable {
public:
    HWND Create(TWindowProc proc);
    void Destroy(HWND window);
    bool Exists(HWND window) const { return procs_.count(window) != 0; }
    // Calls the window's procedure; a message to no window answers 0.
    LRESULT Send(HWND window, UINT uMsg, WPARAM wParam, LPARAM lParam) const;

private:
    std::unordered_map<HWND, TWindowProc> procs_;
    HWND lastHandle_ = 0x100;
};
