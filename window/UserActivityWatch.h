#pragma once
// Notices the user's next key press or click anywhere in the program, once.
#include <QObject>

class TUserActivityWatch : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // Starts watching; Activity is emitted at the first input, then watching
    // stops.
    void Start();

signals:
    void Activity();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool FWatching = false;
};
