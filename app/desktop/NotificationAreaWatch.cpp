#include "NotificationAreaWatch.h"

#include "NotificationAreaProbe.h"

namespace {
constexpr int PollMs = 250;
}  // namespace

TNotificationAreaWatch::TNotificationAreaWatch(int timeoutMs, std::function<void(bool)> done, QObject* parent)
    : QObject(parent), FDone(std::move(done))
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
    if (NotificationAreaProbe::EmbeddedAreaPresent())
        Finish(true);
    else
        AskForStatusNotifierHost();
}

void TNotificationAreaWatch::AskForStatusNotifierHost()
{
    if (FAsking || !FDone)
        return;
    FAsking = true;
    NotificationAreaProbe::AskForStatusNotifierHost(this, PollMs * 4, [this](bool registered) {
        FAsking = false;
        if (registered)
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
