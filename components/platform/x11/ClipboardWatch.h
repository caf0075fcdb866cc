#pragma once
// The desktop's clipboard viewer "chain": every registered viewer hears each
// change directly from Qt, so each registration returns 0 (no next viewer).

#include "../WindowTable.h"

#include <QObject>
#include <vector>

class TClipboardWatch {
public:
    explicit TClipboardWatch(const TWindowTable& windows) : windows_(windows) { }
    ~TClipboardWatch();

    // False when there is no clipboard to listen to (no GUI application).
    static bool CanListen();
    void AddViewer(HWND viewer);
    void RemoveViewer(HWND viewer);

private:
    void Listen();
    void OnClipboardChanged();

    const TWindowTable& windows_;
    std::vector<HWND> viewers_;
    QObject* listener_ = nullptr;  // connection context, deleted with its clipboard
};
