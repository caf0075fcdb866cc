#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QStyle>
#include <QStyleFactory>
#include <QTabBar>

#include "WindowFixture.h"
#include "window/AnchorLayout.h"
#include "window/UrlListView.h"
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

// A container whose controls carry their rules as the form gives them.
struct TRuledPage {
    QWidget Page;
    QWidget* Add(QRect place, const char* rule, const char* value)
    {
        auto* control = new QWidget(&Page);
        control->setGeometry(place);
        control->setProperty(rule, QString::fromLatin1(value));
        return control;
    }
};

TEST(AnchorLayout, DocksTopThenBottomThenRightThenFillWhateverTheFormOrder)
{
    TRuledPage p;
    p.Page.resize(359, 366);
    QWidget* fill = p.Add({0, 29, 288, 303}, "dock", "fill");
    QWidget* right = p.Add({288, 29, 71, 303}, "dock", "right");
    QWidget* bottom = p.Add({0, 332, 359, 34}, "dock", "bottom");
    QWidget* top = p.Add({0, 0, 359, 29}, "dock", "top");
    QWidget* none = p.Add({4, 4, 81, 25}, "anchors", "none");
    QWidget* corner = p.Add({300, 300, 50, 20}, "anchors", "bottom , right");
    InstallAnchorLayouts(&p.Page);
    p.Page.show();
    p.Page.resize(459, 466);
    EXPECT_EQ(top->geometry(), QRect(0, 0, 459, 29));
    EXPECT_EQ(bottom->geometry(), QRect(0, 432, 459, 34));
    EXPECT_EQ(right->geometry(), QRect(388, 29, 71, 403));
    EXPECT_EQ(fill->geometry(), QRect(0, 29, 388, 403));
    EXPECT_EQ(none->geometry(), QRect(16, 8, 81, 25));
    EXPECT_EQ(corner->geometry(), QRect(400, 400, 50, 20));
    EXPECT_EQ(p.Page.minimumSizeHint(), QSize(359, 366));
}

TEST(AnchorLayout, AMoveByCodeBecomesTheNewReference)
{
    TRuledPage p;
    p.Page.resize(359, 366);
    QWidget* picture = p.Add({268, 200, 105, 105}, "anchors", "right");
    InstallAnchorLayouts(&p.Page);
    p.Page.show();
    qobject_cast<TAnchorLayout*>(p.Page.layout())->MoveTo(picture, {268, 50, 105, 105});
    p.Page.resize(459, 366);
    EXPECT_EQ(picture->geometry(), QRect(368, 50, 105, 105));
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
    EXPECT_EQ(Find<QPushButton>("CreateShortcutsButton")->x(), 16);
    EXPECT_EQ(Find<QFrame>("CommandColumn")->x(), 388);
    Find<QTabWidget>("Pages")->setCurrentWidget(
        Find<QWidget>("ToolsPage"));  // hidden pages follow when shown
    EXPECT_EQ(Find<QLineEdit>("FindEdit")->width(), 405);
}

TEST_F(WindowLayoutTest, EveryPageFollowsItsFormRulesWhenGrown)
{
    TMainWindow& f = OpenShown();
    f.resize(467, 513);
    struct {
        const char* Page;
        const char* Control;
        QRect Place;
    } const places[] = {
        {"MainPage", "ExportRow", {0, 432, 459, 34}},
        {"MainPage", "CopyWholeListButton", {359, 4, 85, 25}},
        {"ToolsPage", "SelectionGroup", {4, 300, 453, 61}},
        {"ToolsPage", "InvertSelectionButton", {336, 32, 113, 21}},
        {"SettingsPage", "DigitCountSpin", {348, 16, 57, 21}},
        {"SettingsPage", "MiniHelpGroup", {4, 188, 449, 277}},
        {"SettingsPage", "MiniHelpList", {2, 14, 445, 261}},  // clear of the group's title and frame
        {"MemoPage", "MemoPad1Edit", {4, 52, 393, 129}},
        {"MemoPage", "MemoLineEdit", {8, 28, 101, 20}},
    };
    auto* pages = Find<QTabWidget>("Pages");
    for (const auto& p : places) {
        pages->setCurrentWidget(Find<QWidget>(p.Page));
        EXPECT_EQ(Find<QWidget>(p.Control)->geometry(), p.Place) << p.Control;
    }
    // Labels follow their text; check boxes never cut theirs.
    for (const char* name : {"PrefixLabel", "DigitCountLabel", "SampleNameLabel"})
        EXPECT_EQ(Find<QLabel>(name)->width(), Find<QLabel>(name)->sizeHint().width()) << name;
    for (const char* name : {"KanaConversionCheck", "MonitorCheck"})
        EXPECT_GE(Find<QWidget>(name)->width(), Find<QWidget>(name)->sizeHint().width()) << name;
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
