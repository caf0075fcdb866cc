#include "NotificationAreaWatch.h"

#include <cstdlib>
#include <cstring>

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusServiceWatcher>
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

TNotificationAreaWatch::TNotificationAreaWatch(int timeoutMs, std::function<void(bool)> done, QObject* parent)
    : QObject(parent), FDone(std::move(done))
{
    connect(&FPoll, &QTimer::timeout, this, [this] {
        if (X11TrayPresent())
            Finish(true);
    });
    FPoll.start(PollMs);
    FDeadline.setSingleShot(true);
    connect(&FDeadline, &QTimer::timeout, this, [this] { Finish(false); });
    FDeadline.start(timeoutMs);
    WatchStatusNotifierWatcher();
}

void TNotificationAreaWatch::WatchStatusNotifierWatcher()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return;
    auto* watcher = new QDBusServiceWatcher(QString::fromLatin1(WatcherService), bus,
                                            QDBusServiceWatcher::WatchForRegistration, this);
    connect(watcher, &QDBusServiceWatcher::serviceRegistered, this, [this] { Finish(true); });
    // Already there: asked without waiting for the answer.
    const QDBusPendingCall call =
        bus.interface()->asyncCall(QStringLiteral("NameHasOwner"), QString::fromLatin1(WatcherService));
    auto* pending = new QDBusPendingCallWatcher(call, this);
    connect(pending, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* answer) {
        answer->deleteLater();
        const QDBusPendingReply<bool> reply = *answer;
        if (reply.isValid() && reply.value())
            Finish(true);
    });
}

void TNotificationAreaWatch::Finish(bool appeared)
{
    if (!FDone)
        return;
    FPoll.stop();
    FDeadline.stop();
    // Cleared first: the caller may delete this watch.
    const std::function<void(bool)> done = std::move(FDone);
    FDone = nullptr;
    done(appeared);
}
