#include "ClipboardWatcher.h"

#include <QClipboard>
#include <QGuiApplication>

TClipboardWatcher::TClipboardWatcher(QObject* parent) : QObject(parent)
{ }

void TClipboardWatcher::Start()
{
    if (Watching() || !qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return;
    // Only the clipboard proper: a selection made with the mouse is no copy.
    FConnection =
        connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this, &TClipboardWatcher::Changed);
    if (!FIgnoreFirst)
        emit Changed();
}

void TClipboardWatcher::Stop()
{
    disconnect(FConnection);
    FConnection = {};
}
