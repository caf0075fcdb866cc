#include "NotificationAreaLoss.h"

#include "NotificationAreaProbe.h"

namespace {
constexpr int PollMs = 500;
// A busy session bus may miss one answer: only a second miss in a row
// counts as a loss. The X server's answer is certain.
constexpr int MissesOfALoss = 2;
}  // namespace

TNotificationAreaLoss::TNotificationAreaLoss(QObject* parent) : QObject(parent)
{
    connect(&FPoll, &QTimer::timeout, this, &TNotificationAreaLoss::Look);
}

void TNotificationAreaLoss::Watch(TNotificationArea area)
{
    FArea = area;
    FMisses = 0;
    ++FWatch;
    if (Watching())
        FPoll.start(PollMs);
    else
        FPoll.stop();
}

void TNotificationAreaLoss::Look()
{
    if (FArea == TNotificationArea::Embedded) {
        if (!NotificationAreaProbe::EmbeddedAreaPresent())
            Missed();
        return;
    }
    if (FAsking)
        return;
    FAsking = true;
    NotificationAreaProbe::AskForStatusNotifierHost(this, PollMs * 2, [this, watch = FWatch](bool present) {
        FAsking = false;
        if (watch != FWatch)
            return;
        if (present)
            FMisses = 0;
        else if (++FMisses >= MissesOfALoss)
            Missed();
    });
}

void TNotificationAreaLoss::Missed()
{
    Stop();
    emit Lost();
}
