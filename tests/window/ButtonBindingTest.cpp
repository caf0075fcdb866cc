// Every button runs its handler from the control, with the controls' state
// going in and the handler's results coming back out.
#include <chrono>

#include <QCoreApplication>
#include <QDropEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QUrl>

#include "window/DigitSpinField.h"

#include "WindowFixture.h"
#include <QAction>
#include <QTabWidget>

class ButtonBindingTest : public TWindowTest {
protected:
    void SetUp() override
    {
        Open();
        AddItems({"http://b.example/2.zip", "http://a.example/1.txt", "http://b.example/2.zip"});
    }
};

TEST_F(ButtonBindingTest, AddTakesTheEntryLineAndResetsIt)
{
    Find<QLineEdit>("UrlEntryEdit")->setText("x http://new.example/ y");
    Click("AddButton");
    EXPECT_EQ(Status(), U("報告＞URLを追加しました。"));
    EXPECT_EQ(Find<QLineEdit>("UrlEntryEdit")->text(), "http://");
    EXPECT_EQ(ShownItems().back(), "http://new.example/");
}

TEST_F(ButtonBindingTest, OtherButtonsLeaveTheEntryLineAsTyped)
{
    const QString typed = U("http://ü.example/😀");  // beyond Shift_JIS
    Find<QLineEdit>("UrlEntryEdit")->setText(typed);
    Click("SortForwardButton");
    EXPECT_EQ(Find<QLineEdit>("UrlEntryEdit")->text(), typed);
}

TEST_F(ButtonBindingTest, InputButtonsReportFromTheirSources)
{
    Click("InputFileButton");  // the open dialog is cancelled
    EXPECT_EQ(Status(), U("報告＞URLの抽出を中止しました。"));
    Services.Clipboard = "see http://clip.example/ now";
    Click("PasteButton");
    EXPECT_EQ(Status(), U("正常＞CBよりURLを抽出しました。"));
    EXPECT_EQ(ShownItems().back(), "http://clip.example/");
}

TEST_F(ButtonBindingTest, ModifyReadsTheSelectionMadeInTheList)
{
    Click("ModifyButton");
    EXPECT_EQ(Status(), U("エラー＞修正するURLが選択されていません。"));
    SelectRows({1});
    Click("ModifyButton");
    EXPECT_EQ(Status(), U("報告＞修正後は追加ボタンを押してください。"));
    EXPECT_EQ(Find<QLineEdit>("UrlEntryEdit")->text(), "http://a.example/1.txt");
}

TEST_F(ButtonBindingTest, DeleteRemovesTheSelectedRowsAndKeepsTheFocusInRange)
{
    SelectRows({0, 2});
    Click("DeleteButton");
    EXPECT_EQ(Status(), U("報告＞URLを削除しました。"));
    EXPECT_EQ(ShownItems(), std::vector<QString>{"http://a.example/1.txt"});
    EXPECT_TRUE(SelectedRows().empty());
}

TEST_F(ButtonBindingTest, ListButtonsRewriteTheShownList)
{
    Click("DeleteDuplicatesButton");
    EXPECT_EQ(Status(), U("報告＞重複していたURLを削除しました。"));
    EXPECT_EQ(ShownItems().size(), 2u);
    Click("SortForwardButton");  // sorts write no status
    EXPECT_EQ(Status(), U("報告＞重複していたURLを削除しました。"));
    EXPECT_EQ(ShownItems().front(), "http://a.example/1.txt");
    Click("SortBackwardButton");
    EXPECT_EQ(Status(), U("報告＞重複していたURLを削除しました。"));
    Click("DeleteAllButton");
    EXPECT_EQ(Status(), U("報告＞URLを全て削除しました。"));
    EXPECT_TRUE(ShownItems().empty());
}

TEST_F(ButtonBindingTest, ExportButtonsReportCancelledDialogs)
{
    Click("CreateShortcutsButton");
    EXPECT_EQ(Status(), U("報告＞ｼｮｰﾄｶｯﾄ出力が中止されました。"));
    Click("CreateUrlListButton");
    EXPECT_EQ(Status(), U("報告＞URLﾘｽﾄの出力を中止しました。"));
    Click("CreateLinkPageButton");
    EXPECT_EQ(Status(), U("報告＞リンク集の作成を中止しました。"));
    Click("BookmarksButton");
    EXPECT_EQ(Status(), U("報告＞ﾌﾞｯｸﾏｰｸの出力を中止しました。"));
}

TEST_F(ButtonBindingTest, TrackingParametersGoFromTheButtonAndFromTheMenuEntry)
{
    AddItems({"http://t.example/?utm_source=a&id=1", "http://u.example/?fbclid=2"});
    SelectRows({3});
    Find<QAction>("actionStripTrackingChosen")->trigger();
    EXPECT_EQ(ShownItems()[3], "http://t.example/?id=1");
    EXPECT_EQ(ShownItems()[4], "http://u.example/?fbclid=2");
    Find<TUrlListView>("UrlListBox")->clearSelection();
    Click("StripTrackingButton");  // nothing selected: every URL
    EXPECT_EQ(Status(), U("報告＞追跡ﾊﾟﾗﾒｰﾀを除去しました。(1件)"));
    EXPECT_EQ(ShownItems()[4], "http://u.example/");
}

TEST_F(ButtonBindingTest, ExportsUseThePrefixAndDigitsShownInTheControls)
{
    Find<QLineEdit>("PrefixEdit")->setText("L");
    Find<TDigitSpinField>("DigitCountSpin")->SetValue(2);
    Services.Folders.push_back(Folder());
    Click("CreateShortcutsButton");
    EXPECT_EQ(Status(), U("正常＞ｼｮｰﾄｶｯﾄの出力が終了しました。"));
    EXPECT_EQ(ReadFile("L03.url"), "[InternetShortcut]\r\nURL=http://b.example/2.zip\r\n");
}

TEST_F(ButtonBindingTest, CopyButtonsPutTheListOnTheClipboard)
{
    Click("CopyButton");
    EXPECT_EQ(Status(), U("エラー＞CBに転送するURLが選択されていません。"));
    Click("CopyWholeListButton");
    EXPECT_EQ(Status(), U("報告＞CBにURLﾘｽﾄを転送しました。"));
    EXPECT_EQ(Services.Clipboard,
              "http://b.example/2.zip\r\nhttp://a.example/1.txt\r\nhttp://b.example/2.zip");
    SelectRows({1});
    Click("CopyButton");
    EXPECT_EQ(Status(), U("報告＞選択中のURLをCBに転送しました。"));
}

TEST_F(ButtonBindingTest, ExtendedPageButtonsSelectInTheListAndCountTheSelection)
{
    Click("ReplaceButton");
    EXPECT_EQ(Status(), U("エラー＞検索文字列が指定されていません。"));
    Find<QLineEdit>("SearchEdit")->setText(".zip");
    Click("SearchButton");
    EXPECT_EQ(Status(), U("報告＞検索が完了しました。"));
    EXPECT_EQ(SelectedRows(), (std::vector<int>{0, 2}));
    EXPECT_EQ(Find<QLabel>("SelectedCountLabel")->text(), U("選択数 ：2"));
    Click("InvertSelectionButton");
    EXPECT_EQ(Status(), U("報告＞選択を反転しました。"));
    EXPECT_EQ(SelectedRows(), std::vector<int>{1});
    Click("ClearSelectionButton");
    EXPECT_EQ(Status(), U("報告＞選択を解除しました。"));
    EXPECT_TRUE(SelectedRows().empty());
    EXPECT_EQ(Find<QLabel>("SelectedCountLabel")->text(), U("選択数 ：0"));

    Find<QLineEdit>("FindEdit")->setText("b.example");
    Find<QLineEdit>("ReplaceWithEdit")->setText("c.example");
    Click("ReplaceButton");
    EXPECT_EQ(Status(), U("報告＞置き換えが完了しました。"));
    EXPECT_EQ(ShownItems().front(), "http://c.example/2.zip");
}

TEST_F(ButtonBindingTest, DoubleClickOnTheListCopiesTheFocusedItem)
{
    SelectRows({1});
    emit Find<TUrlListView>("UrlListBox")->DoubleClicked();
    EXPECT_EQ(Services.Clipboard, "http://a.example/1.txt");
}

TEST_F(ButtonBindingTest, AFailingHandlerIsReportedAndLeavesTheStatus)
{
    Click("DeleteAllButton");
    Services.Files.push_back(PathOf("absent.txt"));
    Click("InputFileButton");
    EXPECT_EQ(Services.Errors.size(), 1);
    EXPECT_EQ(Status(), U("報告＞URLを全て削除しました。"));
}

TEST_F(ButtonBindingTest, FilesDroppedAnywhereAreReadInTheDesktopsOrder)
{
    WriteFile("one.txt", "http://one.example/\r\n");
    WriteFile("two.txt", "http://two.example/\r\n");
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(QString::fromStdString(PathOf("two.txt"))),
                  QUrl::fromLocalFile(QString::fromStdString(PathOf("one.txt")))});
    // Dropped on the entry line, which takes text drops of its own: the
    // window's filter on it takes files. (Synthetic drops do not pass the
    // application's dispatch, so the filter is called as dispatch would.)
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QObject* window = Form.get();
    EXPECT_TRUE(window->eventFilter(Find<QLineEdit>("UrlEntryEdit"), &drop));
    EXPECT_EQ(Status(), U("報告＞ﾄﾞﾛｯﾌﾟされたﾌｧｲﾙの解析を終了しました。"));
    const std::vector<QString> items = ShownItems();
    ASSERT_EQ(items.size(), 5u);
    EXPECT_EQ(items[3], "http://two.example/");
    EXPECT_EQ(items[4], "http://one.example/");
    EXPECT_EQ(Find<QLineEdit>("UrlEntryEdit")->text(), "http://");
}

TEST_F(ButtonBindingTest, LongEntriesAreNotCut)
{
    const QString longUrl = "http://long.example/" + QString(100000, 'a');
    Find<QLineEdit>("UrlEntryEdit")->setText(longUrl);
    EXPECT_EQ(Find<QLineEdit>("UrlEntryEdit")->text().size(), longUrl.size());
}

TEST_F(ButtonBindingTest, HundredsOfThousandsOfItemsStayResponsive)
{
    const auto start = std::chrono::steady_clock::now();
    auto& list = Form->Workspace().List;
    for (int i = 0; i < 200000; ++i)
        list.Append("http://bulk.example/" + std::to_string(i));
    // Every other item selected: the worst case for restoring a selection.
    for (std::size_t i = 0; i < list.Count(); i += 2)
        list.SetSelected(i, true);
    Form->Workspace().ListModel.SelectionChanged();
    EXPECT_EQ(Find<TUrlListView>("UrlListBox")->SelectedCount(), 100002u);
    Click("DeleteButton");
    EXPECT_EQ(ShownItems().size(), 100001u);
    Find<TUrlListView>("UrlListBox")->selectAll();
    Click("DeleteButton");
    EXPECT_TRUE(ShownItems().empty());
    const auto seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_LT(seconds, 20.0);
}
