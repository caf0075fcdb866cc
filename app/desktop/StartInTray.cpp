#include "StartInTray.h"

#include "MainWindow.h"
#include "NotificationAreaWatch.h"

namespace {

constexpr int TrayWaitMs = 30000;

}  // namespace

void StartInTray(TMainWindow& form)
{
    if (form.SettleInTray())
        return;
    new TNotificationAreaWatch(
        TrayWaitMs,
        [&form](bool appeared) {
            if (form.isVisible())
                return;  // brought back meanwhile, by a later start
            if (!appeared || !form.SettleInTray())
                form.MinimizeToTaskbar();
        },
        &form);
}
