#include "StartInTray.h"

#include "NotificationAreaWatch.h"
#include "window/MainWindow.h"
#include "window/TrayResidence.h"

namespace {

constexpr int TrayWaitMs = 30000;

}  // namespace

void StartInTray(TMainWindow& form)
{
    // The tray is asked for only once one is known to be there: a first
    // question too early would settle its kind for the whole run.
    auto* watch = new TNotificationAreaWatch(TrayWaitMs, &form);
    QObject::connect(watch, &TNotificationAreaWatch::Finished, &form, [&form](bool appeared) {
        if (form.isVisible())
            return;  // brought back meanwhile, by a later start
        if (!appeared || !form.Tray().SettleAtStart())
            form.Tray().StayInTaskbar();
    });
}
