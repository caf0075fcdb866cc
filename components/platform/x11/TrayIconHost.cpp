#include "TrayIconHost.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QStyleHints>
#include <QStringDecoder>
#include <QSystemTrayIcon>
#include <QThread>
#include <cstring>

namespace {

QString DecodeTip(const TNotifyIconData& data)
{
    const std::size_t length = strnlen(data.szTip.data(), data.szTip.size());
    QStringDecoder decoder("windows-31j");
    return decoder.decode(QByteArrayView(data.szTip.data(), static_cast<qsizetype>(length)));
}

} // namespace

TTrayIconHost::~TTrayIconHost()
{
    for (auto& [key, entry] : icons_)
        delete entry.icon;
}

bool TTrayIconHost::TrayAvailable()
{
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return false;
    // A notification area started together with the program may take a
    // moment to claim its selection; give it up to a second.
    for (int attempt = 0; attempt < 10; ++attempt) {
        if (QSystemTrayIcon::isSystemTrayAvailable())
            return true;
        QThread::msleep(100);
    }
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

    UINT press = 0;
    UINT release = 0;
    switch (reason) {
    case QSystemTrayIcon::Trigger:
        press = WM_LBUTTONDOWN;
        release = WM_LBUTTONUP;
        break;
    case QSystemTrayIcon::DoubleClick:
        press = WM_LBUTTONDBLCLK;
        release = WM_LBUTTONUP;
        break;
    case QSystemTrayIcon::Context:
        press = WM_RBUTTONDOWN;
        release = WM_RBUTTONUP;
        break;
    case QSystemTrayIcon::MiddleClick:
        press = WM_MBUTTONDOWN;
        release = WM_MBUTTONUP;
        break;
    default:
        return;
    }
    const UINT message = entry.callbackMessage;
    deliver_(key.first, message, key.second, press);
    deliver_(key.first, message, key.second, release);
}
