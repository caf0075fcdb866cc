#pragma once
// Tells its owner each time the clipboard's contents change, while it watches.

#include <QObject>

class TClipboardWatcher : public QObject {
    Q_OBJECT
public:
    explicit TClipboardWatcher(QObject* parent = nullptr);

    // Starting twice watches once. Without a GUI application there is no
    // clipboard, and nothing is watched.
    void Start();
    void Stop();
    bool Watching() const { return static_cast<bool>(FConnection); }

    // On (the default): the contents present when watching starts raise
    // nothing. Off: Start reports them at once, before it returns.
    bool IgnoreFirst() const { return FIgnoreFirst; }
    void SetIgnoreFirst(bool value) { FIgnoreFirst = value; }

signals:
    // On the UI thread, once per change, the program's own writes included:
    // those are reported before the write returns.
    void Changed();

private:
    QMetaObject::Connection FConnection;
    bool FIgnoreFirst = true;
};
