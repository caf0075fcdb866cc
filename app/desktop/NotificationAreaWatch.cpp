#include "NotificationAreaWatch.h"

#include "components/NotificationAreaProbe.h"

namespace {
constexpr int PollMs = 250;
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
    if (NotificationAreaProbe::EmbeddedAreaPresent())
        Finish(true);
    else
        AskForStatusNotifierHost();
}

void TNotificationAreaWatch::AskForStatusNotifierHost()
{
    if (FAsking || FFinished)
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
    if (FFinished)
        return;
    FFinished = true;
    FPoll.stop();
    FDeadline.stop();
    emit Finished(appeared);
}
