#pragma once
// Whether a notification area is there now, asked without Qt: Qt settles
// the kind of area once per run and tells nothing when one goes or comes.
#include <functional>

class QObject;

namespace NotificationAreaProbe {

// An X11 system tray: the owner of "_NET_SYSTEM_TRAY_S<screen>". One short
// request to the X server, as every drawing is.
bool EmbeddedAreaPresent();

// Asks the session bus, without waiting, whether a StatusNotifier host is
// registered with the watcher (the panel that shows the icons, not only the
// service they register with). answer(registered) comes from the event loop
// while context lives: false when there is no watcher or no answer within
// timeoutMs.
void AskForStatusNotifierHost(QObject* context, int timeoutMs, std::function<void(bool)> answer);

}  // namespace NotificationAreaProbe
