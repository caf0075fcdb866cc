#pragma once
// A tabbed page control whose pages get exactly the client area the window's
// description counts with (the control's size less 8 × 27 pixels), so the
// pixel places of the controls on a page hold as written.
#include <vector>

#include <QWidget>

class QTabBar;

class TPageControl : public QWidget {
    Q_OBJECT
public:
    explicit TPageControl(QWidget* parent = nullptr);

    QWidget* AddPage(const QString& objectName, const QString& caption);
    int PageCount() const { return static_cast<int>(FPages.size()); }
    QWidget* ActivePage() const;
    void SetActivePage(QWidget* page);
    QTabBar* TabBar() const { return FTabs; }

    // The page's client rectangle inside a control of the given size.
    static QRect PageRect(QSize control);
    // Places the tab strip and the pages for the current size.
    void LayoutPages();

signals:
    // A page became the current page (not raised for the first page at start).
    void PageShown(QWidget* page);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void ShowOnly(int index);

    QTabBar* FTabs;
    std::vector<QWidget*> FPages;
};
