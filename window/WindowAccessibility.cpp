#include "WindowAccessibility.h"

#include <QAccessibleWidget>
#include <QWidget>

namespace {

QAccessibleInterface* MainWindowInterface(const QString& className, QObject* object)
{
    if (className != QLatin1String("TMainWindow") || !object->isWidgetType())
        return nullptr;
    return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Window);
}

}  // namespace

void AnnounceMainWindowAsFrame()
{
    static const bool installed = [] {
        QAccessible::installFactory(MainWindowInterface);
        return true;
    }();
    (void)installed;
}
