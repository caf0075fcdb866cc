// The window's own display handlers, the mini-help, the control inventory
// and the keyboard order.
#include <random>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTest>

#include "Form1Builder.h"
#include "Form1Description.h"
#include "PageControl.h"
#include "PictureBox.h"
#include "WindowFixture.h"

class DisplayHandlersTest : public TWindowTest {
protected:
    void SetUp() override { Open(); }
    void ShowPage(QWidget* page)
    {
        Form->PageControl1->SetActivePage(Form->TabSheet1);
        Form->PageControl1->SetActivePage(page);
    }
};

TEST_F(DisplayHandlersTest, CountLabelsAreDrawnWhenTheExtendedPageIsShown)
{
    ShowPage(Form->TabSheet4);
    EXPECT_EQ(Form->Label6->text(), U("全URL数：0"));
    EXPECT_EQ(Form->Label10->text(), U("選択数 ：0"));

    for (int i = 0; i < 12; ++i)
        Form->Workspace().List.Append("http://n.example/" + std::to_string(i));
    Form->WorkspaceToControls();
    SelectRows({1, 5, 11});
    EXPECT_EQ(Form->Label6->text(), U("全URL数：0"));  // not updated between showings
    ShowPage(Form->TabSheet4);
    EXPECT_EQ(Form->Label6->text(), U("全URL数：12"));
    EXPECT_EQ(Form->Label10->text(), U("選択数 ：3"));
}

TEST_F(DisplayHandlersTest, ThePictureShowsOnlyForTheExactCode)
{
    const std::pair<const char*, bool> codes[] = {
        {"RR7", true}, {"rr7", false}, {"RR7 ", false}, {"", false}, {" RR7", false}};
    for (const auto& [code, visible] : codes) {
        Form->Edit2->setText(code);
        ShowPage(Form->TabSheet3);
        EXPECT_EQ(Form->Image1->isVisibleTo(Form->TabSheet3), visible) << code;
    }
    // Typing the code while the page is shown changes nothing until it is shown again.
    Form->Edit2->setText("RR7");
    EXPECT_FALSE(Form->Image1->isVisibleTo(Form->TabSheet3));
}

TEST_F(DisplayHandlersTest, ThePicturesTopFollowsAnUnseededDrawOfOneToFourteen)
{
    // The same sequence every run: replay it next to the window.
    std::minstd_rand replay;
    int expectedTop = 200;
    std::set<int> seen;
    for (int showing = 0; showing < 60; ++showing) {
        ShowPage(Form->TabSheet3);
        const int drawn = std::uniform_int_distribution<int>(1, 14)(replay);
        if (drawn <= 3)
            expectedTop = drawn == 1 ? 50 : drawn == 2 ? 120 : 200;
        ASSERT_EQ(Form->Image1->y(), expectedTop) << "showing " << showing;
        EXPECT_EQ(Form->Image1->x(), 268);
        seen.insert(expectedTop);
    }
    EXPECT_EQ(seen.size(), 3u);
}

TEST_F(DisplayHandlersTest, ClickingThePictureRevealsTheCreditsAndDedication)
{
    Form->Edit2->setText("RR7");
    ShowPage(Form->TabSheet3);
    QTest::mouseClick(Form->Image1, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(Form->Label5->text(), TForm1::CreditsLine());
    EXPECT_EQ(Form->Label11->text(), U("Linkrake Professional Ver.1.13"));
    QTest::mouseDClick(Form->Image1, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(Form->Label11->text(), TForm1::DedicationLine());
    EXPECT_TRUE(TForm1::DedicationLine().endsWith(QChar(0x2026)));
}

TEST_F(DisplayHandlersTest, TheMiniHelpHasItsSeventyThreeLines)
{
    ASSERT_EQ(Form->ListBox2->count(), 73);
    EXPECT_EQ(Form->ListBox2->item(0)->text(), U("【ワンポイント】"));
    EXPECT_EQ(Form->ListBox2->item(7)->text(), "");
    EXPECT_EQ(Form->ListBox2->item(42)->text(), U("　　   前方ソート　　　      後方ソート"));
    EXPECT_EQ(Form->ListBox2->item(72)->text(), U("ミニヘルプ Ｖｅｒｓｉｏｎ　２"));
    EXPECT_EQ(Form->ListBox2->selectionMode(), QAbstractItemView::SingleSelection);
}

TEST_F(DisplayHandlersTest, EveryDescribedControlExistsWithItsNameTextAndTooltip)
{
    for (const TControlDescription& item : Form1Controls()) {
        QWidget* control = Form->Builder().Find(QString::fromUtf8(item.Name));
        ASSERT_NE(control, nullptr) << item.Name;
        EXPECT_EQ(control->objectName(), QString::fromUtf8(item.Name));
        EXPECT_EQ(control->toolTip(), item.Tooltip ? QString::fromUtf8(item.Tooltip) : QString())
            << item.Name;
        if (auto* button = qobject_cast<QPushButton*>(control))
            EXPECT_EQ(button->text(), QString::fromUtf8(item.Text));
    }
    EXPECT_EQ(Form->windowTitle(), "Linkrake Professional");
    EXPECT_EQ(Form->PageControl1->ActivePage(), Form->TabSheet1);
    EXPECT_EQ(Form->PageControl1->TabBar()->tabText(1), U("拡張操作"));
    EXPECT_FALSE(Form->Image1->isVisibleTo(Form->TabSheet3));
    EXPECT_EQ(Form->Edit4->accessibleName(), "URL");
    EXPECT_EQ(Form->Edit2->accessibleName(), U("メモ"));
}

TEST_F(DisplayHandlersTest, KeyboardOrderFollowsTheTabColumnWithinEachContainer)
{
    std::vector<QString> order;
    QWidget* w = Form->ListBox1;
    while (order.size() < 16) {
        if ((w->focusPolicy() & Qt::TabFocus) && w->isVisibleTo(Form.get()) && w->isEnabled())
            order.push_back(w->objectName());
        w = w->nextInFocusChain();
    }
    const std::vector<QString> expected = {
        "ListBox1", "Button6",  "Button7",  "Button10", "Button8",  "Button12", "Button1", "Button9",
        "Button2",  "Button13", "Button14", "Button4",  "Button11", "Button5",  "Edit4",   "Button3"};
    EXPECT_EQ(order, expected);
}

TEST_F(DisplayHandlersTest, TabLeavesAMemoPadForTheNextControl)
{
    Form->show();
    QApplication::setActiveWindow(Form.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(Form.get()));
    ShowPage(Form->TabSheet3);
    Form->Memo1->setFocus();
    QTest::keyClick(Form->Memo1, Qt::Key_Tab);
    EXPECT_EQ(Form->Memo1->toPlainText(), "");
    EXPECT_EQ(QApplication::focusWidget(), Form->Memo2);
}
