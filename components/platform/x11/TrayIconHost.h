#pragma once
// The desktop's notification area: one QSystemTrayIcon per (window, identifier).
// Activations become the mouse messages a tray callback expects, and menus are
// the component's business. The one exception is a D-Bus notification area,
// which shows only a menu the icon exports: there the record's menu becomes
// the Qt icon's context menu. On an X11 tray Qt would pop that menu on the
// right press as well, beside the component's own, so it is never set there.

#include "../Platform.h"

#include <QElapsedTimer>

#include <map>
#include <utility>

class QMenu;
class QSystemTrayIcon;

class TTrayIconHost {
public:
    // Posts (window, callback message, identifier, mouse message) to the UI thread.
    using TDeliver = std::function<void(HWND, UINT, WPARAM, LPARAM)>;

    explicit TTrayIconHost(TDeliver deliver) : deliver_(std::move(deliver)) { }
    ~TTrayIconHost();

    bool Add(const TNotifyIconData& data);
    bool Modify(const TNotifyIconData& data);
    bool Delete(const TNotifyIconData& data);

private:
    using TKey = std::pair<HWND, UINT>;
    struct TEntry {
        QSystemTrayIcon* icon = nullptr;
        UINT callbackMessage = 0;
        QElapsedTimer sinceLeftClick;  // invalid when no single click is pending
    };

    static bool TrayAvailable();
    void Apply(TEntry& entry, const TNotifyIconData& data);
    static void ExportMenu(QSystemTrayIcon* icon, QMenu* menu);
    void OnActivated(TKey key, int reason);

    TDeliver deliver_;
    std::map<TKey, TEntry> icons_;
};
