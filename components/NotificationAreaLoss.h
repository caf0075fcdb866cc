#pragma once
// Tells when the notification area that holds the icon goes away (its panel
// crashed, or restarts), by asking every half second while it watches. Qt
// gives no signal for it, and docks a shown icon again by itself once an
// area comes back.
#include <QObject>
#include <QTimer>

#include "TrayIcon.h"

class TNotificationAreaLoss : public QObject {
    Q_OBJECT
public:
    explicit TNotificationAreaLoss(QObject* parent = nullptr);
    // Watches an area of that kind; None stops.
    void Watch(TNotificationArea area);
    void Stop() { Watch(TNotificationArea::None); }
    bool Watching() const { return FArea != TNotificationArea::None; }

signals:
    // Once per watch.
    void Lost();

private:
    void Look();
    void Missed();
    QTimer FPoll;
    TNotificationArea FArea = TNotificationArea::None;
    bool FAsking = false;  // a question to the session bus is under way
    int FMisses = 0;       // D-Bus answers in a row without a host
    int FWatch = 0;        // counts watches, so that a late answer of an earlier one is dropped
};
