#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QStyle>
#include <QStyleFactory>
#include <QTabBar>

#include "AnchorLayout.h"
#include "UrlListView.h"
#include "WindowFixture.h"
#include <QTabWidget>

namespace {
constexpr TAnchors None{false, false, false, false};
constexpr TAnchors Right{false, false, true, false};
constexpr TAnchors LeftRight{true, false, true, false};
constexpr TAnchors All{true, true, true, true};
}  // namespace

TEST(AnchoredRect, CentreKeepsItsProportionRoundedToNearest)
{
    // Export row button: centre 44 of 359 -> 56.26 of 459.
    EXPECT_EQ(AnchoredRect({4, 4, 81, 25}, {359, 34}, {459, 34}, None), QRect(16, 4, 81, 25));
    // Command column button: centre 284 of 303 -> 377.7 of 403.
    EXPECT_EQ(AnchoredRect({4, 272, 65, 25}, {71, 303}, {71, 403}, Right), QRect(4, 366, 65, 25));
}

TEST(AnchoredRect, EdgesKeepTheirDistancesAndBothEdgesStretch)
{
    EXPECT_EQ(AnchoredRect({292, 4, 65, 21}, {359, 29}, {459, 29}, Right).x(), 392);
    EXPECT_EQ(AnchoredRect({4, 4, 285, 20}, {359, 29}, {459, 29}, LeftRight).width(), 385);
    EXPECT_EQ(AnchoredRect({4, 188, 349, 177}, {359, 366}, {400, 400}, All), QRect(4, 188, 390, 211));
    // Shrinking below the design size works the same way.
    EXPECT_EQ(AnchoredRect({4, 4, 81, 25}, {359, 34}, {259, 34}, None).x(), 32 - 40);
}

TEST(AnchorLayout, DocksTopThenBottomThenRightThenFill)
{
    QWidget page;
    page.resize(359, 366);
    TAnchorLayout layout(&page, {359, 366});
    QWidget fill(&page), right(&page), bottom(&page), top(&page);
    // Registered out of order on purpose: the resolution order is fixed.
    layout.Add(&fill, {0, 29, 288, 303}, TAlign::Fill, {});
    layout.Add(&right, {288, 29, 71, 303}, TAlign::Right, {});
    layout.Add(&bottom, {0, 332, 359, 34}, TAlign::Bottom, {});
    layout.Add(&top, {0, 0, 359, 29}, TAlign::Top, {});
    const std::vector<QRect> places = layout.Compute({459, 466});
    EXPECT_EQ(places[3], QRect(0, 0, 459, 29));
    EXPECT_EQ(places[2], QRect(0, 432, 459, 34));
    EXPECT_EQ(places[1], QRect(388, 29, 71, 403));
    EXPECT_EQ(places[0], QRect(0, 29, 388, 403));
}

TEST(AnchorLayout, AMoveByCodeBecomesTheNewReference)
{
    QWidget page;
    page.resize(359, 366);
    TAnchorLayout layout(&page, {359, 366});
    QWidget picture(&page);
    layout.Add(&picture, {268, 200, 105, 105}, TAlign::None, Right);
    layout.MoveTo(&picture, {268, 50, 105, 105});
    page.resize(459, 366);
    layout.Apply();
    EXPECT_EQ(picture.geometry(), QRect(368, 50, 105, 105));
}

class WindowLayoutTest : public TWindowTest { };

TEST_F(WindowLayoutTest, StartsAtTheDesignedPlacesAndSize)
{
    TMainWindow& f = OpenShown();
    EXPECT_EQ(f.size(), QSize(367, 413));
    EXPECT_EQ(f.minimumSize(), QSize(367, 413));
    EXPECT_FALSE(f.windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_EQ(Find<QStatusBar>("StatusBar")->geometry(), QRect(0, 393, 367, 20));
    EXPECT_EQ(Find<QWidget>("MainPage")->size(), QSize(359, 366));
    EXPECT_EQ(Find<TUrlListView>("UrlListBox")->geometry(), QRect(0, 29, 288, 303));
    EXPECT_EQ(Find<QPushButton>("DeleteAllButton")->geometry(), QRect(4, 272, 65, 25));
}

TEST_F(WindowLayoutTest, EveryPageKeepsItsClientAreaUnderEveryStyle)
{
    const QString original = QApplication::style()->name();
    for (const QString& style : QStyleFactory::keys()) {
        QApplication::setStyle(style);
        OpenShown();
        auto* pages = Find<QTabWidget>("Pages");
        for (int i = 0; i < pages->count(); ++i) {
            pages->setCurrentIndex(i);
            QWidget* page = pages->widget(i);
            EXPECT_EQ(QRect(page->mapTo(pages, QPoint(0, 0)), page->size()), QRect(4, 24, 359, 366))
                << qPrintable(style) << " page " << i;
        }
        EXPECT_EQ(pages->tabBar()->geometry(), QRect(2, 0, 363, 22)) << qPrintable(style);
    }
    Form.reset();
    QApplication::setStyle(original);
}

TEST_F(WindowLayoutTest, WideningMovesAndStretchesAsDescribed)
{
    TMainWindow& f = OpenShown();
    f.resize(467, 413);
    EXPECT_EQ(Find<QLineEdit>("UrlEntryEdit")->width(), 385);
    EXPECT_EQ(Find<QPushButton>("AddButton")->x(), 392);
    EXPECT_EQ(Find<QPushButton>("ShortcutsButton")->x(), 16);
    EXPECT_EQ(Find<QFrame>("CommandColumn")->x(), 388);
    Find<QTabWidget>("Pages")->setCurrentWidget(
        Find<QWidget>("ToolsPage"));  // hidden pages follow when shown
    EXPECT_EQ(Find<QLineEdit>("FindEdit")->width(), 405);
}

TEST_F(WindowLayoutTest, HeighteningSpreadsTheCommandColumn)
{
    TMainWindow& f = OpenShown();
    f.resize(367, 513);
    EXPECT_EQ(Find<TUrlListView>("UrlListBox")->height(), 403);
    EXPECT_EQ(Find<QFrame>("CommandColumn")->height(), 403);
    EXPECT_EQ(Find<QPushButton>("DeleteAllButton")->y(), 366);
    // Memo pad 2 and the version caption keep their distance to the bottom.
    Find<QTabWidget>("Pages")->setCurrentWidget(Find<QWidget>("MemoPage"));
    EXPECT_EQ(Find<QPlainTextEdit>("MemoPad2Edit")->geometry().bottom(), 192 + 129 - 1 + 100);
    EXPECT_EQ(Find<QLabel>("VersionLabel")->y(), 440);
}

TEST_F(WindowLayoutTest, CannotShrinkBelowTheStartSize)
{
    TMainWindow& f = OpenShown();
    f.resize(200, 200);
    EXPECT_EQ(f.size(), QSize(367, 413));
}
