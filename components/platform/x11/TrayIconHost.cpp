#include "TrayIconHost.h"

#include "StatusNotifierHost.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QMenu>
#include <QStringDecoder>
#include <QStyleHints>
#include <QSystemTrayIcon>
#include <cstring>

namespace {

QString DecodeTip(const TNotifyIconData& data)
{
    const std::size_t length = strnlen(data.szTip.data(), data.szTip.size());
    QStringDecoder decoder("windows-31j");
    return decoder.decode(QByteArrayView(data.szTip.data(), static_cast<qsizetype>(length)));
}

// The press and release a tray callback expects for an activation; {0, 0} for none.
std::pair<UINT, UINT> MouseMessagesOf(int reason)
{
    switch (reason) {
    case QSystemTrayIcon::Trigger:
        return {WM_LBUTTONDOWN, WM_LBUTTONUP};
    case QSystemTrayIcon::DoubleClick:
        return {WM_LBUTTONDBLCLK, WM_LBUTTONUP};
    case QSystemTrayIcon::Context:
        return {WM_RBUTTONDOWN, WM_RBUTTONUP};
    case QSystemTrayIcon::MiddleClick:
        return {WM_MBUTTONDOWN, WM_MBUTTONUP};
    default:
        return {0, 0};
    }
}

}  // namespace

TTrayIconHost::~TTrayIconHost()
{
    for (auto& [key, entry] : icons_)
        delete entry.icon;
}

bool TTrayIconHost::TrayAvailable()
{
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return false;
    // Settled together with Qt, before its first question about the tray.
    StatusNotifierHost::InUse();
    // Asked afresh at each minimize, never waited for: the user-interface
    // thread must not sleep, and a tray that appears later serves the next one.
    return QSystemTrayIcon::isSystemTrayAvailable();
}

bool TTrayIconHost::Add(const TNotifyIconData& data)
{
    const TKey key{data.hWnd, data.uID};
    if (icons_.count(key) || !TrayAvailable())
        return false;
    TEntry entry;
    entry.icon = new QSystemTrayIcon;
    QObject::connect(entry.icon, &QSystemTrayIcon::activated, entry.icon,
                     [this, key](QSystemTrayIcon::ActivationReason reason) { OnActivated(key, reason); });
    Apply(entry, data);
    entry.icon->show();
    icons_.emplace(key, entry);
    return true;
}

bool TTrayIconHost::Modify(const TNotifyIconData& data)
{
    auto found = icons_.find({data.hWnd, data.uID});
    if (found == icons_.end())
        return false;
    Apply(found->second, data);
    return true;
}

bool TTrayIconHost::Delete(const TNotifyIconData& data)
{
    auto found = icons_.find({data.hWnd, data.uID});
    if (found == icons_.end())
        return false;
    QSystemTrayIcon* icon = found->second.icon;
    icons_.erase(found);
    icon->hide();
    // A delete may come from a handler of this very icon's activation.
    icon->deleteLater();
    return true;
}

void TTrayIconHost::Apply(TEntry& entry, const TNotifyIconData& data)
{
    if (data.uFlags & NIF_MESSAGE)
        entry.callbackMessage = data.uCallbackMessage;
    if (data.uFlags & NIF_ICON)
        entry.icon->setIcon(data.hIcon);
    if (data.uFlags & NIF_TIP)
        entry.icon->setToolTip(DecodeTip(data));
    ExportMenu(entry.icon, data.hMenu);
}

void TTrayIconHost::ExportMenu(QSystemTrayIcon* icon, QMenu* menu)
{
    // Qt cannot withdraw a menu it has exported; a later record without one
    // leaves it offered until the icon is deleted.
    if (!menu || icon->contextMenu() == menu || !StatusNotifierHost::InUse())
        return;
    icon->setContextMenu(menu);
}

void TTrayIconHost::OnActivated(TKey key, int reason)
{
    auto found = icons_.find(key);
    if (found == icons_.end())
        return;
    TEntry& entry = found->second;
    // Trays that speak the newer D-Bus protocol report a double click as two
    // single clicks; the window expects the double click it means.
    if (reason == QSystemTrayIcon::Trigger && entry.sinceLeftClick.isValid()
        && entry.sinceLeftClick.elapsed() <= QGuiApplication::styleHints()->mouseDoubleClickInterval())
        reason = QSystemTrayIcon::DoubleClick;
    if (reason == QSystemTrayIcon::Trigger)
        entry.sinceLeftClick.start();
    else
        entry.sinceLeftClick.invalidate();

    const auto [press, release] = MouseMessagesOf(reason);
    if (press == 0)
        return;
    const UINT message = entry.callbackMessage;
    deliver_(key.first, message, key.second, press);
    deliver_(key.first, message, key.second, release);
}
