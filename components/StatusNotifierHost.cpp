#include "StatusNotifierHost.h"

#include <QDBusConnection>
#include <QDBusInterface>
#include <QString>

namespace StatusNotifierHost {

bool Registered()
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

bool InUse()
{
    static const bool inUse = Registered();
    return inUse;
}

}  // namespace StatusNotifierHost
