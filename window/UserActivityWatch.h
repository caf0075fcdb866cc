#pragma once
// Notices the user's next key press or click anywhere in the program, once.
#include <QObject>

#include <functional>

class TUserActivityWatch : public QObject {
public:
    // Starts watching; onActivity runs at the first input, then watching stops.
    void Start(std::function<void()> onActivity);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::function<void()> FOnActivity;
};
