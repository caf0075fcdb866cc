#include "NotificationAreaProbe.h"

#include <cstdlib>
#include <cstring>

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusVariant>
#include <QGuiApplication>

#include <xcb/xcb.h>

namespace NotificationAreaProbe {

namespace {
const char* const WatcherService = "org.kde.StatusNotifierWatcher";
}  // namespace

bool EmbeddedAreaPresent()
{
    const auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    xcb_connection_t* connection = x11 ? x11->connection() : nullptr;
    if (!connection)
        return false;
    int screen = 0;
    if (const char* display = std::getenv("DISPLAY"))
        if (const char* dot = std::strrchr(display, '.'); dot && std::strchr(display, ':') < dot)
            screen = std::atoi(dot + 1);
    const QByteArray name = "_NET_SYSTEM_TRAY_S" + QByteArray::number(screen);
    xcb_intern_atom_reply_t* atom = xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 1, static_cast<uint16_t>(name.size()), name.constData()),
        nullptr);
    if (!atom)
        return false;
    const bool known = atom->atom != XCB_ATOM_NONE;
    xcb_get_selection_owner_reply_t* owner =
        known ? xcb_get_selection_owner_reply(connection, xcb_get_selection_owner(connection, atom->atom),
                                              nullptr)
              : nullptr;
    const bool present = owner && owner->owner != XCB_WINDOW_NONE;
    std::free(owner);
    std::free(atom);
    return present;
}

void AskForStatusNotifierHost(QObject* context, int timeoutMs, std::function<void(bool)> answer)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        answer(false);
        return;
    }
    // The question Qt asks, without waiting for its answer.
    QDBusMessage question = QDBusMessage::createMethodCall(
        QString::fromLatin1(WatcherService), QStringLiteral("/StatusNotifierWatcher"),
        QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
    question << QString::fromLatin1(WatcherService) << QStringLiteral("IsStatusNotifierHostRegistered");
    auto* call = new QDBusPendingCallWatcher(bus.asyncCall(question, timeoutMs), context);
    QObject::connect(call, &QDBusPendingCallWatcher::finished, context,
                     [answer = std::move(answer)](QDBusPendingCallWatcher* finished) {
                         finished->deleteLater();
                         const QDBusPendingReply<QDBusVariant> reply = *finished;
                         answer(reply.isValid() && reply.value().variant().toBool());
                     });
}

}  // namespace NotificationAreaProbe
