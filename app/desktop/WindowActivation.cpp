#include "WindowActivation.h"

#include <cstring>

#include <QGuiApplication>
#include <QWidget>

#include <xcb/xcb.h>

#include "RunningCopy.h"

namespace {

xcb_atom_t Atom(xcb_connection_t* connection, const char* name)
{
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 0, static_cast<uint16_t>(std::strlen(name)), name), nullptr);
    const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
    std::free(reply);
    return atom;
}

// Startup ids end in "_TIME<timestamp>" of the user's action that started
// the program: the time a window manager weighs an activation by.
uint32_t UserTimeOf(const QByteArray& id)
{
    const qsizetype at = id.lastIndexOf("_TIME");
    bool ok = false;
    const uint time = at < 0 ? 0 : id.mid(at + 5).toUInt(&ok);
    return ok ? time : 0;
}

QByteArray Quoted(const QByteArray& value)
{
    if (!value.contains(' ') && !value.contains('"') && !value.contains('\\'))
        return value;
    QByteArray quoted = value;
    quoted.replace('\\', "\\\\").replace('"', "\\\"");
    return '"' + quoted + '"';
}

// A startup notification message, in the 20-byte pieces the protocol takes.
void SendStartupMessage(xcb_connection_t* connection, xcb_window_t root, const QByteArray& message)
{
    xcb_client_message_event_t event{};
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 8;
    event.window = root;
    event.type = Atom(connection, "_NET_STARTUP_INFO_BEGIN");
    const xcb_atom_t following = Atom(connection, "_NET_STARTUP_INFO");
    const QByteArray bytes = message + '\0';
    for (qsizetype sent = 0; sent < bytes.size(); sent += 20) {
        std::memset(event.data.data8, 0, sizeof event.data.data8);
        std::memcpy(event.data.data8, bytes.constData() + sent,
                    static_cast<std::size_t>(std::min<qsizetype>(20, bytes.size() - sent)));
        xcb_send_event(connection, 0, root, XCB_EVENT_MASK_PROPERTY_CHANGE,
                       reinterpret_cast<const char*>(&event));
        event.type = following;
    }
}

void AskForActivation(xcb_connection_t* connection, xcb_window_t root, xcb_window_t window, uint32_t time)
{
    xcb_client_message_event_t event{};
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = window;
    event.type = Atom(connection, "_NET_ACTIVE_WINDOW");
    event.data.data32[0] = 1;  // from an application
    event.data.data32[1] = time;
    xcb_send_event(connection, 0, root,
                   XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT,
                   reinterpret_cast<const char*>(&event));
}

}  // namespace

void BringBackForLaterStart(QWidget& window, const TCopyRequest& request,
                            const std::function<void()>& restore)
{
    // The Wayland platform takes the token from here at the next activation
    // (and clears it); elsewhere it would only pass on to child processes.
    if (!request.ActivationToken.isEmpty()
        && QGuiApplication::platformName().startsWith(QLatin1String("wayland")))
        qputenv("XDG_ACTIVATION_TOKEN", request.ActivationToken);
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* connection = x11 ? x11->connection() : nullptr;
    const QByteArray startupId = request.StartupId.isEmpty() ? request.ActivationToken : request.StartupId;
    if (!connection || startupId.isEmpty()) {
        restore();
        return;
    }
    const auto windowId = static_cast<xcb_window_t>(window.winId());
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    // Read by the window manager when the window is mapped again.
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, windowId, Atom(connection, "_NET_STARTUP_ID"),
                        Atom(connection, "UTF8_STRING"), 8, static_cast<uint32_t>(startupId.size()),
                        startupId.constData());
    xcb_flush(connection);
    restore();
    if (const uint32_t time = UserTimeOf(startupId))
        AskForActivation(connection, root, windowId, time);
    // The later start ends without a window: its launch feedback ends here.
    SendStartupMessage(connection, root, "remove: ID=" + Quoted(startupId));
    xcb_flush(connection);
}
