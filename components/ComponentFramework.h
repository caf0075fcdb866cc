#pragma once
// The small component model the detector, the tray icon and the main window
// share: ownership through QObject parents, removal notification, a loading
// phase, and the event types.

#include <QHash>
#include <QObject>
#include <functional>
#include <stdexcept>

using TNotifyEvent = std::function<void(QObject* Sender)>;

enum class TMouseButton { mbLeft, mbRight, mbMiddle };

// Bit set of modifier keys and mouse buttons held during a mouse event.
enum TShiftFlag : unsigned {
    ssShift = 1u << 0,
    ssAlt = 1u << 1,
    ssCtrl = 1u << 2,
    ssLeft = 1u << 3,
    ssRight = 1u << 4,
    ssMiddle = 1u << 5,
    ssDouble = 1u << 6,
};
using TShiftState = unsigned;

using TMouseEvent =
    std::function<void(QObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TMouseMoveEvent = std::function<void(QObject* Sender, TShiftState Shift, int X, int Y)>;

// A platform resource (such as a hidden window) could not be had.
class EOutOfResources : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class TComponent : public QObject {
public:
    // The owner (any QObject, a widget included) destroys the component.
    explicit TComponent(QObject* owner);
    ~TComponent() override;

    QObject* Owner() const { return parent(); }

    // Asks to be told through Notification() when `referenced` is destroyed.
    // Asking twice for the same object is harmless.
    void FreeNotification(QObject* referenced);

    // Building from a window description: BeginLoading() runs the hook that
    // precedes reading the stored properties, EndLoading() the after-loading step.
    void BeginLoading();
    void EndLoading();
    bool Loading() const { return loading_; }

protected:
    // Only pointer identity of `removed` may be used: it is being destroyed.
    virtual void Notification(QObject* removed);
    virtual void ReadState();
    virtual void Loaded();

private:
    QHash<QObject*, QMetaObject::Connection> watched_;
    bool loading_ = false;
};
