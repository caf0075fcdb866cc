// The window's own display handlers, the mini-help, the control inventory
// and the keyboard order.
#include <random>

#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTest>

#include "PageControl.h"
#include "PictureBox.h"
#include "WindowBuilder.h"
#include "WindowDescription.h"
#include "WindowFixture.h"

class DisplayHandlersTest : public TWindowTest {
protected:
    void SetUp() override { Open(); }
    void ShowPage(QWidget* page)
    {
        Form->Pages->SetActivePage(Form->MainPage);
        Form->Pages->SetActivePage(page);
    }
};

TEST_F(DisplayHandlersTest, CountLabelsAreDrawnWhenTheExtendedPageIsShown)
{
    ShowPage(Form->ToolsPage);
    EXPECT_EQ(Form->TotalCountLabel->text(), U("全URL数：0"));
    EXPECT_EQ(Form->SelectedCountLabel->text(), U("選択数 ：0"));

    for (int i = 0; i < 12; ++i)
        Form->Workspace().List.Append("http://n.example/" + std::to_string(i));
    Form->WorkspaceToControls();
    SelectRows({1, 5, 11});
    EXPECT_EQ(Form->TotalCountLabel->text(), U("全URL数：0"));  // not updated between showings
    ShowPage(Form->ToolsPage);
    EXPECT_EQ(Form->TotalCountLabel->text(), U("全URL数：12"));
    EXPECT_EQ(Form->SelectedCountLabel->text(), U("選択数 ：3"));
}

TEST_F(DisplayHandlersTest, ThePictureShowsOnlyForTheExactCode)
{
    const std::pair<const char*, bool> codes[] = {
        {"RR7", true}, {"rr7", false}, {"RR7 ", false}, {"", false}, {" RR7", false}};
    for (const auto& [code, visible] : codes) {
        Form->MemoLineEdit->setText(code);
        ShowPage(Form->MemoPage);
        EXPECT_EQ(Form->Mascot->isVisibleTo(Form->MemoPage), visible) << code;
    }
    // Typing the code while the page is shown changes nothing until it is shown again.
    Form->MemoLineEdit->setText("RR7");
    EXPECT_FALSE(Form->Mascot->isVisibleTo(Form->MemoPage));
}

TEST_F(DisplayHandlersTest, ThePicturesTopFollowsAnUnseededDrawOfOneToFourteen)
{
    // The same sequence every run: replay it next to the window.
    std::minstd_rand replay;
    int expectedTop = 200;
    std::set<int> seen;
    for (int showing = 0; showing < 60; ++showing) {
        ShowPage(Form->MemoPage);
        const int drawn = std::uniform_int_distribution<int>(1, 14)(replay);
        if (drawn <= 3)
            expectedTop = drawn == 1 ? 50 : drawn == 2 ? 120 : 200;
        ASSERT_EQ(Form->Mascot->y(), expectedTop) << "showing " << showing;
        EXPECT_EQ(Form->Mascot->x(), 268);
        seen.insert(expectedTop);
    }
    EXPECT_EQ(seen.size(), 3u);
}

TEST_F(DisplayHandlersTest, ClickingThePictureRevealsTheCreditsAndDedication)
{
    Form->MemoLineEdit->setText("RR7");
    ShowPage(Form->MemoPage);
    QTest::mouseClick(Form->Mascot, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(Form->MemoPageLabel->text(), TMainWindow::CreditsLine());
    EXPECT_EQ(Form->VersionLabel->text(), U("Linkrake Professional Ver.1.13"));
    QTest::mouseDClick(Form->Mascot, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(Form->VersionLabel->text(), TMainWindow::DedicationLine());
    EXPECT_TRUE(TMainWindow::DedicationLine().endsWith(QChar(0x2026)));
}

TEST_F(DisplayHandlersTest, TheMiniHelpHasItsSeventyThreeLines)
{
    ASSERT_EQ(Form->MiniHelpList->count(), 73);
    EXPECT_EQ(Form->MiniHelpList->item(0)->text(), U("【ワンポイント】"));
    EXPECT_EQ(Form->MiniHelpList->item(7)->text(), "");
    EXPECT_EQ(Form->MiniHelpList->item(42)->text(), U("　　   前方ソート　　　      後方ソート"));
    EXPECT_EQ(Form->MiniHelpList->item(72)->text(), U("ミニヘルプ Ｖｅｒｓｉｏｎ　２"));
    EXPECT_EQ(Form->MiniHelpList->selectionMode(), QAbstractItemView::SingleSelection);
}

TEST_F(DisplayHandlersTest, EveryDescribedControlExistsWithItsNameTextAndTooltip)
{
    for (const TControlDescription& item : MainWindowControls()) {
        QWidget* control = Form->Builder().Find(QString::fromUtf8(item.Name));
        ASSERT_NE(control, nullptr) << item.Name;
        EXPECT_EQ(control->objectName(), QString::fromUtf8(item.Name));
        EXPECT_EQ(control->toolTip(), item.Tooltip ? QString::fromUtf8(item.Tooltip) : QString())
            << item.Name;
        if (auto* button = qobject_cast<QPushButton*>(control)) {
            EXPECT_EQ(button->text(), QString::fromUtf8(item.Text));
        }
    }
    EXPECT_EQ(Form->windowTitle(), "Linkrake Professional");
    EXPECT_EQ(Form->Pages->ActivePage(), Form->MainPage);
    EXPECT_EQ(Form->Pages->TabBar()->tabText(1), U("拡張操作"));
    EXPECT_FALSE(Form->Mascot->isVisibleTo(Form->MemoPage));
    EXPECT_EQ(Form->UrlEntryEdit->accessibleName(), "URL");
    EXPECT_EQ(Form->MemoLineEdit->accessibleName(), U("メモ"));
    // Screen readers take a window's title from a frame, never from a filler.
    QAccessibleInterface* window = QAccessible::queryAccessibleInterface(Form.get());
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->role(), QAccessible::Window);
    EXPECT_EQ(window->text(QAccessible::Name), "Linkrake Professional");
}

TEST_F(DisplayHandlersTest, KeyboardOrderFollowsTheTabColumnWithinEachContainer)
{
    std::vector<QString> order;
    QWidget* w = Form->UrlListBox;
    while (order.size() < 16) {
        if ((w->focusPolicy() & Qt::TabFocus) && w->isVisibleTo(Form.get()) && w->isEnabled())
            order.push_back(w->objectName());
        w = w->nextInFocusChain();
    }
    const std::vector<QString> expected = {
        "UrlListBox",    "ShortcutsButton",   "UrlListFileButton",  "LinkPageButton",
        "CopyAllButton", "CopyButton",        "FileInputButton",    "ModifyButton",
        "PasteButton",   "ForwardSortButton", "BackwardSortButton", "DeleteButton",
        "DedupeButton",  "DeleteAllButton",   "UrlEntryEdit",       "AddButton"};
    EXPECT_EQ(order, expected);
}

TEST_F(DisplayHandlersTest, TabLeavesAMemoPadForTheNextControl)
{
    Form->show();
    QApplication::setActiveWindow(Form.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(Form.get()));
    ShowPage(Form->MemoPage);
    Form->MemoPad1Edit->setFocus();
    QTest::keyClick(Form->MemoPad1Edit, Qt::Key_Tab);
    EXPECT_EQ(Form->MemoPad1Edit->toPlainText(), "");
    EXPECT_EQ(QApplication::focusWidget(), Form->MemoPad2Edit);
}
