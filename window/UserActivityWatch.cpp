#include "UserActivityWatch.h"

#include <QCoreApplication>
#include <QEvent>

void TUserActivityWatch::Start(std::function<void()> onActivity)
{
    if (!FOnActivity)
        QCoreApplication::instance()->installEventFilter(this);
    FOnActivity = std::move(onActivity);
}

bool TUserActivityWatch::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::MouseButtonPress:
    case QEvent::Wheel:
    case QEvent::InputMethod: {
        QCoreApplication::instance()->removeEventFilter(this);
        const std::function<void()> onActivity = std::move(FOnActivity);
        FOnActivity = nullptr;
        onActivity();
        break;
    }
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}
