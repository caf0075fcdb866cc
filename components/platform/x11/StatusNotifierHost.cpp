#include "StatusNotifierHost.h"

#include <QDBusConnection>
#include <QDBusInterface>
#include <QString>

namespace {

bool HostRegistered()
{
    const QString watcher = QStringLiteral("org.kde.StatusNotifierWatcher");
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return false;
    // Through an introspected interface, as Qt asks: a watcher that cannot
    // be introspected leaves Qt on the X11 tray, and must leave us there too.
    QDBusInterface host(watcher, QStringLiteral("/StatusNotifierWatcher"), watcher, bus);
    return host.isValid() && host.property("IsStatusNotifierHostRegistered").toBool();
}

}  // namespace

namespace StatusNotifierHost {

bool InUse()
{
    static const bool inUse = HostRegistered();
    return inUse;
}

}  // namespace StatusNotifierHost
