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

#include "WindowFixture.h"
#include "window/PictureBox.h"
#include <QTabWidget>

class DisplayHandlersTest : public TWindowTest {
protected:
    void SetUp() override { Open(); }
    void ShowPage(QWidget* page)
    {
        Find<QTabWidget>("Pages")->setCurrentWidget(Find<QWidget>("MainPage"));
        Find<QTabWidget>("Pages")->setCurrentWidget(page);
    }
};

TEST_F(DisplayHandlersTest, CountLabelsAreDrawnWhenTheExtendedPageIsShown)
{
    ShowPage(Find<QWidget>("ToolsPage"));
    EXPECT_EQ(Find<QLabel>("TotalCountLabel")->text(), U("全URL数：0"));
    EXPECT_EQ(Find<QLabel>("SelectedCountLabel")->text(), U("選択数 ：0"));

    for (int i = 0; i < 12; ++i)
        Form->Workspace().List.Append("http://n.example/" + std::to_string(i));
    Form->Workspace().ListModel.SelectionChanged();
    SelectRows({1, 5, 11});
    EXPECT_EQ(Find<QLabel>("TotalCountLabel")->text(), U("全URL数：0"));  // not updated between showings
    ShowPage(Find<QWidget>("ToolsPage"));
    EXPECT_EQ(Find<QLabel>("TotalCountLabel")->text(), U("全URL数：12"));
    EXPECT_EQ(Find<QLabel>("SelectedCountLabel")->text(), U("選択数 ：3"));
}

TEST_F(DisplayHandlersTest, ThePictureShowsOnlyForTheExactCode)
{
    const std::pair<const char*, bool> codes[] = {
        {"RR7", true}, {"rr7", false}, {"RR7 ", false}, {"", false}, {" RR7", false}};
    for (const auto& [code, visible] : codes) {
        Find<QLineEdit>("MemoLineEdit")->setText(code);
        ShowPage(Find<QWidget>("MemoPage"));
        EXPECT_EQ(Find<TPictureBox>("Mascot")->isVisibleTo(Find<QWidget>("MemoPage")), visible) << code;
    }
    // Typing the code while the page is shown changes nothing until it is shown again.
    Find<QLineEdit>("MemoLineEdit")->setText("RR7");
    EXPECT_FALSE(Find<TPictureBox>("Mascot")->isVisibleTo(Find<QWidget>("MemoPage")));
}

TEST_F(DisplayHandlersTest, ThePicturesTopFollowsAnUnseededDrawOfOneToFourteen)
{
    // The same sequence every run: replay it next to the window.
    std::minstd_rand replay;
    int expectedTop = 200;
    std::set<int> seen;
    for (int showing = 0; showing < 60; ++showing) {
        ShowPage(Find<QWidget>("MemoPage"));
        const int drawn = std::uniform_int_distribution<int>(1, 14)(replay);
        if (drawn <= 3)
            expectedTop = drawn == 1 ? 50 : drawn == 2 ? 120 : 200;
        ASSERT_EQ(Find<TPictureBox>("Mascot")->y(), expectedTop) << "showing " << showing;
        EXPECT_EQ(Find<TPictureBox>("Mascot")->x(), 268);
        seen.insert(expectedTop);
    }
    EXPECT_EQ(seen.size(), 3u);
}

TEST_F(DisplayHandlersTest, ClickingThePictureRevealsTheCreditsAndDedication)
{
    Find<QLineEdit>("MemoLineEdit")->setText("RR7");
    ShowPage(Find<QWidget>("MemoPage"));
    QTest::mouseClick(Find<TPictureBox>("Mascot"), Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(Find<QLabel>("MemoPageLabel")->text(), TMainWindow::CreditsLine());
    EXPECT_EQ(Find<QLabel>("VersionLabel")->text(), U("Linkrake Professional Ver.1.13"));
    QTest::mouseDClick(Find<TPictureBox>("Mascot"), Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(Find<QLabel>("VersionLabel")->text(), TMainWindow::DedicationLine());
    EXPECT_TRUE(TMainWindow::DedicationLine().endsWith(QChar(0x2026)));
}

TEST_F(DisplayHandlersTest, TheMiniHelpHasItsSeventyThreeLines)
{
    ASSERT_EQ(Find<QListWidget>("MiniHelpList")->count(), 73);
    EXPECT_EQ(Find<QListWidget>("MiniHelpList")->item(0)->text(), U("【ワンポイント】"));
    EXPECT_EQ(Find<QListWidget>("MiniHelpList")->item(7)->text(), "");
    EXPECT_EQ(Find<QListWidget>("MiniHelpList")->item(42)->text(),
              U("　　   前方ソート　　　      後方ソート"));
    EXPECT_EQ(Find<QListWidget>("MiniHelpList")->item(72)->text(), U("ミニヘルプ Ｖｅｒｓｉｏｎ　２"));
    EXPECT_EQ(Find<QListWidget>("MiniHelpList")->selectionMode(), QAbstractItemView::SingleSelection);
}

TEST_F(DisplayHandlersTest, ControlsShowTheirCaptionsAndTooltips)
{
    struct TShown {
        const char* Name;
        const char* Caption;  // of buttons and check boxes
        const char* Tooltip;
    };
    const TShown shown[] = {
        {"AddButton", "追加", "入力・修正したURLを一覧に追加します。"},
        {"InputFileButton", ".txt 入力", "ファイルからURLを抽出します。"},
        {"PasteButton", "貼り付け", "クリップボードの内容からURLを抽出します。"},
        {"CopyButton", "コピー", "選択中のURLをクリップボードにコピーします。"},
        {"ModifyButton", "修正", "選択中のURLを修正します。"},
        {"SortForwardButton", "前方ｿｰﾄ", "URLの先頭を基準にして昇順に並び替えます。"},
        {"SortBackwardButton", "後方ｿｰﾄ", "URLの後方を基準にして昇順に並び替えます。"},
        {"DeleteButton", "削除", "選択中のURLをリストから削除します。"},
        {"DeleteDuplicatesButton", "重複削除", "重複しているURLを削除します。"},
        {"DeleteAllButton", "全削除", "全てのURLを削除します。"},
        {"CreateShortcutsButton", "ｼｮｰﾄｶｯﾄ作成",
         "インターネットショートカットファイル（*.URL）を作成します。"},
        {"CreateUrlListButton", "URLﾘｽﾄ作成", "URLリストをテキストファイルで作成します。"},
        {"CreateLinkPageButton", "ﾘﾝｸ集作成", "HTML形式のURL一覧表（リンク集）を作成します。"},
        {"CopyWholeListButton", "全ﾘｽﾄｺﾋﾟｰ", "全URLをクリップボードにコピーします。"},
        {"ReplaceButton", "実行", nullptr},
        {"SearchButton", "検索", nullptr},
        {"SchemeRuleCheck", "://をhttp://と認識する。(http以外のﾌﾟﾛﾄｺﾙでは利用不可)",
         "URLと思われる文字列をURLとして認識します。"},
        {"WwwRuleCheck", "www.で始まる文字列をURLと認識する。",
         "http://で始まっていなくても、先頭がwww.であればURLとして認識します。"},
        {"ClearSelectionButton", "選択を解除", nullptr},
        {"InvertSelectionButton", "選択を反転", nullptr},
        {"KanaConversionCheck", "みかか語を自動変換する。", "みかか語を自動変換します。"},
        {"RangeExpansionCheck", "[01-99]←こういうのを展開する。", "iria等で使われるﾌｫｰﾏｯﾄを展開します。"},
        {"MonitorCheck", "CB監視(CBからURLを抽出しそのURLをCBに再転送する)",
         "ｸﾘｯﾌﾟﾎﾞｰﾄﾞを常時監視し、URLを含むﾃｷｽﾄをｺﾋﾟｰすると、URLのみを抽出し、さらにそのURLをｸﾘｯﾌﾟﾎﾞｰﾄﾞにｺﾋﾟｰ"
         "します。"},
        {"LinkPageWithoutDialogCheck", "ﾘﾝｸ集作成時にﾌｧｲﾙ名を指定しない（通常はﾁｪｯｸしない）",
         "詳しい利用法はミニヘルプの「便利な利用法」をご覧下さい。"},
        {"MemoPageLabel", "このページは空白です。メモとしてご利用ください。", "password:PVD"},
        {"Mascot", nullptr, "おーい、ラケ丸！今日も熊手でURLかき集めてるかい？"},
        {"VersionLabel", "Linkrake Professional Ver.1.13", "password:RR7"},
    };
    for (const auto& [name, caption, tooltip] : shown) {
        QWidget* control = Find<QWidget>(name);
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(control->toolTip(), tooltip ? U(tooltip) : QString()) << name;
        if (auto* button = qobject_cast<QAbstractButton*>(control)) {
            EXPECT_EQ(button->text(), U(caption)) << name;
        }
    }
    EXPECT_EQ(Form->windowTitle(), "Linkrake Professional");
    EXPECT_EQ(Find<QTabWidget>("Pages")->currentWidget(), Find<QWidget>("MainPage"));
    EXPECT_EQ(Find<QTabWidget>("Pages")->tabText(1), U("拡張操作"));
    EXPECT_FALSE(Find<TPictureBox>("Mascot")->isVisibleTo(Find<QWidget>("MemoPage")));
    EXPECT_EQ(Find<QLineEdit>("UrlEntryEdit")->accessibleName(), "URL");
    EXPECT_EQ(Find<QLineEdit>("MemoLineEdit")->accessibleName(), U("メモ"));
    // Screen readers take a window's title from a frame, never from a filler.
    QAccessibleInterface* window = QAccessible::queryAccessibleInterface(Form.get());
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->role(), QAccessible::Window);
    EXPECT_EQ(window->text(QAccessible::Name), "Linkrake Professional");
}

TEST_F(DisplayHandlersTest, ScreenReadersFindTheTabStripAndThePagesSideBySide)
{
    auto* tabs = Find<QTabWidget>("Pages");
    QAccessibleInterface* pages = QAccessible::queryAccessibleInterface(tabs);
    ASSERT_NE(pages, nullptr);
    ASSERT_EQ(pages->childCount(), 6);
    EXPECT_EQ(pages->child(0)->role(), QAccessible::PageTabList);
    const char* const names[] = {"メイン", "拡張操作", "リンク", "設定", "メモ"};
    for (int i = 0; i < 5; ++i) {
        QAccessibleInterface* page = pages->child(i + 1);
        ASSERT_NE(page, nullptr);
        EXPECT_EQ(page->text(QAccessible::Name), U(names[i]));
        EXPECT_EQ(page->object(), tabs->widget(i));
        EXPECT_EQ(page->parent()->object(), tabs);
        EXPECT_EQ(pages->indexOfChild(page), i + 1);
    }
}

TEST_F(DisplayHandlersTest, TabWalksThePageInTheTabColumnsOrderAndShiftTabBack)
{
    Form->show();
    QApplication::setActiveWindow(Form.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(Form.get()));
    QTabBar* tabs = Find<QTabWidget>("Pages")->tabBar();
    tabs->setFocus();
    // The tab strip, then the main page: the list, the export row, the
    // command column and the entry row, each in its own order.
    const std::vector<QString> expected = {"UrlListBox",
                                           "CreateShortcutsButton",
                                           "CreateUrlListButton",
                                           "CreateLinkPageButton",
                                           "CopyWholeListButton",
                                           "CopyButton",
                                           "InputFileButton",
                                           "ModifyButton",
                                           "PasteButton",
                                           "SortForwardButton",
                                           "SortBackwardButton",
                                           "DeleteButton",
                                           "DeleteDuplicatesButton",
                                           "DeleteAllButton",
                                           "UrlEntryEdit",
                                           "AddButton"};
    std::vector<QString> forward;
    for (std::size_t i = 0; i < expected.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        forward.push_back(QApplication::focusWidget()->objectName());
    }
    EXPECT_EQ(forward, expected);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), tabs);

    std::vector<QString> backward;
    for (std::size_t i = 0; i < expected.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
        backward.insert(backward.begin(), QApplication::focusWidget()->objectName());
    }
    EXPECT_EQ(backward, expected);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(QApplication::focusWidget(), tabs);
}

TEST_F(DisplayHandlersTest, TabLeavesAMemoPadForTheNextControl)
{
    Form->show();
    QApplication::setActiveWindow(Form.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(Form.get()));
    ShowPage(Find<QWidget>("MemoPage"));
    Find<QPlainTextEdit>("MemoPad1Edit")->setFocus();
    QTest::keyClick(Find<QPlainTextEdit>("MemoPad1Edit"), Qt::Key_Tab);
    EXPECT_EQ(Find<QPlainTextEdit>("MemoPad1Edit")->toPlainText(), "");
    EXPECT_EQ(QApplication::focusWidget(), Find<QPlainTextEdit>("MemoPad2Edit"));
}
