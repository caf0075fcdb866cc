#include "NotificationAreaWatch.h"

#include <cstdlib>
#include <cstring>

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusVariant>
#include <QGuiApplication>

#include <xcb/xcb.h>

namespace {

constexpr int PollMs = 250;
const char* const WatcherService = "org.kde.StatusNotifierWatcher";

// One short request to the X server, as every drawing is.
bool X11TrayPresent()
{
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
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

}  // namespace

TNotificationAreaWatch::TNotificationAreaWatch(int timeoutMs, QObject* parent) : QObject(parent)
{
    connect(&FPoll, &QTimer::timeout, this, &TNotificationAreaWatch::Look);
    FPoll.start(PollMs);
    FDeadline.setSingleShot(true);
    connect(&FDeadline, &QTimer::timeout, this, [this] { Finish(false); });
    FDeadline.start(timeoutMs);
    QTimer::singleShot(0, this, &TNotificationAreaWatch::Look);
}

void TNotificationAreaWatch::Look()
{
    if (X11TrayPresent())
        Finish(true);
    else
        AskForStatusNotifierHost();
}

void TNotificationAreaWatch::AskForStatusNotifierHost()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (FAsking || FFinished || !bus.isConnected())
        return;
    // The question Qt asks, without waiting for its answer.
    QDBusMessage question = QDBusMessage::createMethodCall(
        QString::fromLatin1(WatcherService), QStringLiteral("/StatusNotifierWatcher"),
        QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
    question << QString::fromLatin1(WatcherService) << QStringLiteral("IsStatusNotifierHostRegistered");
    FAsking = true;
    auto* answer = new QDBusPendingCallWatcher(bus.asyncCall(question, PollMs * 4), this);
    connect(answer, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* call) {
        call->deleteLater();
        FAsking = false;
        const QDBusPendingReply<QDBusVariant> reply = *call;
        if (reply.isValid() && reply.value().variant().toBool())
            Finish(true);
    });
}

void TNotificationAreaWatch::Finish(bool appeared)
{
    if (FFinished)
        return;
    FFinished = true;
    FPoll.stop();
    FDeadline.stop();
    emit Finished(appeared);
}
