#include "PageMetrics.h"

#include <QApplication>
#include <QKeySequence>
#include <QProxyStyle>
#include <QShortcut>
#include <QStyleOption>
#include <QTabBar>
#include <QTabWidget>

namespace {

constexpr int TabStripHeight = 22;
constexpr int PageLeft = 4;
constexpr int PageTop = 24;
constexpr int PageRightGap = 4;
constexpr int PageBottomGap = 3;

class TFixedPageStyle : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;

    QRect subElementRect(SubElement element, const QStyleOption* option, const QWidget* widget) const override
    {
        const QRect all = option->rect;
        switch (element) {
        case SE_TabWidgetTabBar:
            return QRect(2, 0, all.width() - 4, TabStripHeight);
        case SE_TabWidgetTabPane:
            return QRect(0, TabStripHeight - 1, all.width(), all.height() - TabStripHeight + 1);
        case SE_TabWidgetTabContents:
            return QRect(PageLeft, PageTop, all.width() - PageLeft - PageRightGap,
                         all.height() - PageTop - PageBottomGap);
        default:
            return QProxyStyle::subElementRect(element, option, widget);
        }
    }

    // The tabs keep the window's colour rather than the page frame's, which
    // some styles give the tabs of a framed tab widget.
    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override
    {
        const auto* tab = qstyleoption_cast<const QStyleOptionTab*>(option);
        if (element != CE_TabBarTabShape || !tab) {
            QProxyStyle::drawControl(element, option, painter, widget);
            return;
        }
        QStyleOptionTab plain(*tab);
        plain.features &= ~QStyleOptionTab::HasFrame;
        QProxyStyle::drawControl(element, &plain, painter, widget);
    }
};

}  // namespace

void FixPageMetrics(QTabWidget* pages)
{
    auto* style = new TFixedPageStyle(QApplication::style()->name());
    style->setParent(pages);
    pages->setStyle(style);
    pages->tabBar()->setStyle(style);
    pages->tabBar()->setDrawBase(false);
    pages->tabBar()->setExpanding(false);
    // The tab widget sizes a page only when it first shows it.
    const QSize client = pages->size() - QSize(PageLeft + PageRightGap, PageTop + PageBottomGap);
    for (int i = 0; i < pages->count(); ++i)
        pages->widget(i)->resize(client);
    // The keyboard page switch works from every control, memo pads included.
    auto* next = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Tab), pages);
    QObject::connect(next, &QShortcut::activated, pages,
                     [pages] { pages->setCurrentIndex((pages->currentIndex() + 1) % pages->count()); });
    auto* previous = new QShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab), pages);
    QObject::connect(previous, &QShortcut::activated, pages, [pages] {
        pages->setCurrentIndex((pages->currentIndex() + pages->count() - 1) % pages->count());
    });
}
