#include "ClipboardWatch.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QGuiApplication>
#include <algorithm>
#include <exception>

TClipboardWatch::~TClipboardWatch()
{
    delete listener_;
}

bool TClipboardWatch::CanListen()
{
    return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr
           && QGuiApplication::clipboard() != nullptr;
}

void TClipboardWatch::AddViewer(HWND viewer)
{
    Listen();
    viewers_.push_back(viewer);
    // The new viewer hears about the current contents before registration returns.
    windows_.Send(viewer, WM_DRAWCLIPBOARD, 0, 0);
}

void TClipboardWatch::RemoveViewer(HWND viewer)
{
    viewers_.erase(std::remove(viewers_.begin(), viewers_.end(), viewer), viewers_.end());
}

void TClipboardWatch::Listen()
{
    if (listener_)
        return;
    QClipboard* clipboard = QGuiApplication::clipboard();
    // Parented to the clipboard so that the connection dies with it.
    listener_ = new QObject(clipboard);
    QObject::connect(listener_, &QObject::destroyed, [this] { listener_ = nullptr; });
    QObject::connect(clipboard, &QClipboard::dataChanged, listener_, [this] { OnClipboardChanged(); });
}

void TClipboardWatch::OnClipboardChanged()
{
    // A viewer may leave (or a new one join) while an earlier one is told.
    const std::vector<HWND> toTell = viewers_;
    for (HWND viewer : toTell) {
        if (std::find(viewers_.begin(), viewers_.end(), viewer) == viewers_.end())
            continue;
        try {
            windows_.Send(viewer, WM_DRAWCLIPBOARD, 0, 0);
        } catch (...) {
            // Qt's clipboard signal cannot carry a failure; hand it to the event
            // loop, whose default handling reports it, and stop passing it on.
            QMetaObject::invokeMethod(
                QCoreApplication::instance(),
                [failure = std::current_exception()] { std::rethrow_exception(failure); },
                Qt::QueuedConnection);
            return;
        }
    }
}
