#include "PageControl.h"

#include <QKeySequence>
#include <QShortcut>
#include <QStyleOptionTabWidgetFrame>
#include <QStylePainter>
#include <QTabBar>

namespace {
constexpr int TabStripHeight = 22;
constexpr int PageLeft = 4;
constexpr int PageTop = 24;
constexpr int PageRightGap = 4;
constexpr int PageBottomGap = 3;
}  // namespace

TPageControl::TPageControl(QWidget* parent) : QWidget(parent), FTabs(new QTabBar(this))
{
    FTabs->setDrawBase(false);
    FTabs->setExpanding(false);
    FTabs->setUsesScrollButtons(true);
    connect(FTabs, &QTabBar::currentChanged, this, [this](int index) {
        ShowOnly(index);
        if (index >= 0 && index < PageCount())
            emit PageShown(FPages[index]);
    });
    // The keyboard page switch a tabbed control is expected to have.
    auto* next = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Tab), this);
    connect(next, &QShortcut::activated, this, [this] {
        if (PageCount() > 0)
            FTabs->setCurrentIndex((FTabs->currentIndex() + 1) % PageCount());
    });
    auto* previous = new QShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab), this);
    connect(previous, &QShortcut::activated, this, [this] {
        if (PageCount() > 0)
            FTabs->setCurrentIndex((FTabs->currentIndex() + PageCount() - 1) % PageCount());
    });
}

QRect TPageControl::PageRect(QSize control)
{
    return QRect(PageLeft, PageTop, control.width() - PageLeft - PageRightGap,
                 control.height() - PageTop - PageBottomGap);
}

QWidget* TPageControl::AddPage(const QString& objectName, const QString& caption)
{
    auto* page = new QWidget(this);
    page->setObjectName(objectName);
    page->setAccessibleName(caption);
    page->setGeometry(PageRect(size()));
    FPages.push_back(page);
    // Adding the first tab makes it current; that is the start page, not a
    // page being shown, so it raises nothing.
    const QSignalBlocker quiet(FTabs);
    FTabs->addTab(caption);
    ShowOnly(FTabs->currentIndex());
    return page;
}

QWidget* TPageControl::ActivePage() const
{
    const int index = FTabs->currentIndex();
    return index >= 0 && index < PageCount() ? FPages[index] : nullptr;
}

void TPageControl::SetActivePage(QWidget* page)
{
    for (int i = 0; i < PageCount(); ++i)
        if (FPages[i] == page)
            FTabs->setCurrentIndex(i);
}

void TPageControl::ShowOnly(int index)
{
    for (int i = 0; i < PageCount(); ++i)
        FPages[i]->setVisible(i == index);
}

void TPageControl::resizeEvent(QResizeEvent*)
{
    LayoutPages();
}

void TPageControl::LayoutPages()
{
    FTabs->setGeometry(2, 0, width() - 4, TabStripHeight);
    for (QWidget* page : FPages)
        page->setGeometry(PageRect(size()));
}

void TPageControl::paintEvent(QPaintEvent*)
{
    QStylePainter painter(this);
    QStyleOptionTabWidgetFrame frame;
    frame.initFrom(this);
    frame.rect = QRect(0, TabStripHeight - 1, width(), height() - TabStripHeight + 1);
    frame.shape = QTabBar::RoundedNorth;
    frame.tabBarRect = FTabs->geometry();
    frame.tabBarSize = FTabs->size();
    frame.selectedTabRect = FTabs->tabRect(FTabs->currentIndex()).translated(FTabs->pos());
    frame.lineWidth = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, this);
    painter.drawPrimitive(QStyle::PE_FrameTabWidget, frame);
}
