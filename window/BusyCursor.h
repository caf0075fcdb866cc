#pragma once
// Cursors for work the user waits for: a busy cursor over the program while
// a handler works through a long list or file, and the ordinary arrow again
// while a dialog asks the user something in the middle of such work.
#include <QGuiApplication>

class TBusyCursor {
public:
    explicit TBusyCursor(bool on, Qt::CursorShape shape = Qt::WaitCursor) : FOn(on)
    {
        if (FOn)
            QGuiApplication::setOverrideCursor(shape);
    }
    ~TBusyCursor()
    {
        if (FOn)
            QGuiApplication::restoreOverrideCursor();
    }
    TBusyCursor(const TBusyCursor&) = delete;
    TBusyCursor& operator=(const TBusyCursor&) = delete;

private:
    bool FOn;
};

// Put in a dialog's scope: the arrow while the dialog is up, if a busy
// cursor was shown.
class TDialogCursor : public TBusyCursor {
public:
    TDialogCursor() : TBusyCursor(QGuiApplication::overrideCursor() != nullptr, Qt::ArrowCursor) { }
};
