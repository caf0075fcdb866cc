#include "WindowAccessibility.h"

#include <QAccessibleWidget>
#include <QStackedWidget>
#include <QTabBar>
#include <QTabWidget>

namespace {

// The tab strip first, then the pages in tab order.
class TPagesInterface : public QAccessibleWidget {
public:
    explicit TPagesInterface(QTabWidget* pages) : QAccessibleWidget(pages) { }

    int childCount() const override { return 1 + Pages()->count(); }
    QAccessibleInterface* child(int index) const override
    {
        QWidget* shown = index == 0 ? Pages()->tabBar() : Pages()->widget(index - 1);
        return shown ? QAccessible::queryAccessibleInterface(shown) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override
    {
        QObject* object = child ? child->object() : nullptr;
        if (object == Pages()->tabBar())
            return 0;
        const int page =
            object && object->isWidgetType() ? Pages()->indexOf(static_cast<QWidget*>(object)) : -1;
        return page < 0 ? -1 : page + 1;
    }

private:
    QTabWidget* Pages() const { return static_cast<QTabWidget*>(widget()); }
};

QTabWidget* TabWidgetOfPage(QObject* object)
{
    QObject* stack = object->parent();
    return qobject_cast<QStackedWidget*>(stack) ? qobject_cast<QTabWidget*>(stack->parent()) : nullptr;
}

// A plain widget, whose parent is the tab widget when it is one of its
// pages. Decided when asked: a page is created before it joins the stack.
class TPlainWidgetInterface : public QAccessibleWidget {
public:
    explicit TPlainWidgetInterface(QWidget* widget) : QAccessibleWidget(widget) { }

    QAccessibleInterface* parent() const override
    {
        if (QTabWidget* pages = TabWidgetOfPage(object()))
            return QAccessible::queryAccessibleInterface(pages);
        return QAccessibleWidget::parent();
    }
};

QAccessibleInterface* MainWindowInterface(const QString& className, QObject* object)
{
    if (!object->isWidgetType())
        return nullptr;
    auto* widget = static_cast<QWidget*>(object);
    if (className == QLatin1String("TMainWindow"))
        return new QAccessibleWidget(widget, QAccessible::Window);
    if (className == QLatin1String("QTabWidget"))
        return new TPagesInterface(static_cast<QTabWidget*>(widget));
    if (widget->metaObject() == &QWidget::staticMetaObject)
        return new TPlainWidgetInterface(widget);
    return nullptr;
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
