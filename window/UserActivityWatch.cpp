#include "UserActivityWatch.h"

#include <QCoreApplication>
#include <QEvent>

void TUserActivityWatch::Start()
{
    if (!FWatching)
        QCoreApplication::instance()->installEventFilter(this);
    FWatching = true;
}

bool TUserActivityWatch::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::MouseButtonPress:
    case QEvent::Wheel:
    case QEvent::InputMethod:
        QCoreApplication::instance()->removeEventFilter(this);
        FWatching = false;
        emit Activity();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}
