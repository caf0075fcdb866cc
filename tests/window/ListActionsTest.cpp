// The list's keys, its context menu, opening in the browser, dragging URLs
// out and dropping text in, and the program's own yes/no questions.
#include <QApplication>
#include <QContextMenuEvent>
#include <QDesktopServices>
#include <QDropEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "WindowFixture.h"
#include "window/BrowserOpener.h"
#include "window/DesktopServices.h"
#include "window/QtTranslation.h"
#include "window/UrlDrag.h"
#include "window/UrlListView.h"
#include "workspace/UrlListModel.h"

// Stands in for the desktop's browser.
class TBrowserCatcher : public QObject {
    Q_OBJECT
public:
    QStringList Opened;
public slots:
    void Open(const QUrl& url) { Opened << url.toString(); }
};

namespace {

// Answers the next modal question by the button with that text, noting the
// default button's text.
void AnswerQuestion(const QString& answer, QString* defaultText = nullptr, QString* question = nullptr)
{
    QTimer::singleShot(0, [=] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        if (defaultText)
            *defaultText = box->defaultButton()->text();
        if (question)
            *question = box->text();
        for (QAbstractButton* button : box->buttons())
            if (button->text() == answer)
                button->click();
    });
}

}  // namespace

class ListActionsTest : public TWindowTest {
protected:
    TBrowserCatcher Browser;

    void SetUp() override
    {
        OpenShown();
        Services.Monitoring = &Form->Workspace().Monitoring;
        AddItems({"http://a.example/1", "www.b.example/2", "../relative/3", "https://c.example/4"});
        for (const char* scheme : {"http", "https", "ftp", "mms", "rtsp", "file"})
            QDesktopServices::setUrlHandler(QString::fromLatin1(scheme), &Browser, "Open");
    }
    void TearDown() override
    {
        for (const char* scheme : {"http", "https", "ftp", "mms", "rtsp", "file"})
            QDesktopServices::unsetUrlHandler(QString::fromLatin1(scheme));
    }
    // A key pressed where the user has the focus.
    void Key(QWidget* target, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QApplication::setActiveWindow(Form.get());
        target->setFocus();
        QTest::keyClick(target, key, modifiers);
    }
    TUrlListView* List() const { return Find<TUrlListView>("UrlListBox"); }
    QMenu* OpenMenu()
    {
        const QPoint point(5, 5);
        QContextMenuEvent event(QContextMenuEvent::Keyboard, point, List()->mapToGlobal(point));
        QApplication::sendEvent(List(), &event);
        auto* menu = Form->findChild<QMenu*>(QStringLiteral("UrlListMenu"));
        EXPECT_TRUE(menu && menu->isVisible());
        return menu;
    }
    // The menu's entry for that action, as the opened menu shows it.
    QAction* MenuItem(QMenu* menu, const char* action)
    {
        for (QAction* item : menu->actions())
            if (item->objectName() == QLatin1String(action))
                return item;
        ADD_FAILURE() << action << " is not in the menu";
        return new QAction(menu);
    }
    QAction* MenuItem(const char* action) { return MenuItem(OpenMenu(), action); }
    bool DropOnList(QMimeData& data)
    {
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QObject* window = Form.get();
        return window->eventFilter(List()->viewport(), &drop);
    }
};

TEST_F(ListActionsTest, EnterInTheEntryLineAdds)
{
    Find<QLineEdit>("UrlEntryEdit")->setText("http://entered.example/");
    Key(Find<QLineEdit>("UrlEntryEdit"), Qt::Key_Return);
    EXPECT_EQ(Status(), U("報告＞URLを追加しました。"));
    EXPECT_EQ(ShownItems().back(), "http://entered.example/");
    EXPECT_EQ(Find<QLineEdit>("UrlEntryEdit")->text(), "http://");
}

TEST_F(ListActionsTest, DeleteSelectAllAndCopyKeysRunTheButtonsHandlers)
{
    Key(List(), Qt::Key_Delete);
    EXPECT_EQ(Status(), U("エラー＞削除するURLが選択されていません。"));
    Key(List(), Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(SelectedRows(), (std::vector<int>{0, 1, 2, 3}));

    // Copying from the list is the program's own write: monitoring must not
    // take it for another program's copy.
    Key(List(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(Status(), U("報告＞選択中のURLをCBに転送しました。"));
    EXPECT_EQ(Services.Clipboard,
              "http://a.example/1\r\nwww.b.example/2\r\n../relative/3\r\nhttps://c.example/4");
    EXPECT_EQ(Services.IgnoredWrites, std::vector<bool>{true});

    Key(List(), Qt::Key_Delete);
    EXPECT_EQ(Status(), U("報告＞URLを削除しました。"));
    EXPECT_TRUE(ShownItems().empty());
}

TEST_F(ListActionsTest, TheListsKeysWorkOnlyInTheListAndAddNoOthers)
{
    SelectRows({1});
    auto* entry = Find<QLineEdit>("UrlEntryEdit");
    const std::pair<Qt::Key, Qt::KeyboardModifiers> keys[] = {{Qt::Key_Delete, Qt::NoModifier},
                                                              {Qt::Key_Z, Qt::ControlModifier},
                                                              {Qt::Key_Y, Qt::ControlModifier},
                                                              {Qt::Key_A, Qt::ControlModifier},
                                                              {Qt::Key_C, Qt::ControlModifier}};
    for (const auto& [key, modifiers] : keys)
        Key(entry, key, modifiers);
    EXPECT_EQ(ShownItems().size(), 4u);
    EXPECT_EQ(SelectedRows(), std::vector<int>{1});
    EXPECT_EQ(Status(), QString());
    EXPECT_EQ(Services.Clipboard, "");

    Key(List(), Qt::Key_D, Qt::ControlModifier);
    EXPECT_EQ(ShownItems().size(), 4u);
    Key(List(), Qt::Key_Delete, Qt::KeypadModifier);
    EXPECT_EQ(Status(), U("報告＞URLを削除しました。"));
    EXPECT_EQ(ShownItems().size(), 3u);
}

TEST_F(ListActionsTest, UndoAndBothRedoKeysRestoreItemsAndSelection)
{
    Key(List(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Status(), U("エラー＞元に戻す操作がありません。"));
    SelectRows({1, 3});
    Click("DeleteButton");
    ASSERT_EQ(ShownItems().size(), 2u);

    Key(List(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Status(), U("報告＞元に戻しました。"));
    EXPECT_EQ(ShownItems()[1], "www.b.example/2");
    EXPECT_EQ(SelectedRows(), (std::vector<int>{1, 3}));
    EXPECT_EQ(List()->currentIndex().row(), 1);

    Key(List(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(Status(), U("報告＞やり直しました。"));
    EXPECT_EQ(ShownItems().size(), 2u);
    Key(List(), Qt::Key_Z, Qt::ControlModifier);
    Key(List(), Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(ShownItems().size(), 2u);
    Key(List(), Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(Status(), U("エラー＞やり直す操作がありません。"));
}

TEST_F(ListActionsTest, ModifyIsUndoneWithTheEntryLine)
{
    SelectRows({2});
    Find<QLineEdit>("UrlEntryEdit")->setText("http://typed/");
    Click("ModifyButton");
    EXPECT_EQ(Find<QLineEdit>("UrlEntryEdit")->text(), "../relative/3");
    Key(List(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Find<QLineEdit>("UrlEntryEdit")->text(), "http://typed/");
    EXPECT_EQ(ShownItems()[2], "../relative/3");
}

TEST_F(ListActionsTest, TheContextMenuRunsTheHandlers)
{
    QMenu* menu = OpenMenu();
    ASSERT_TRUE(menu);
    std::vector<QString> captions;
    for (QAction* action : menu->actions())
        if (!action->isSeparator())
            captions.push_back(action->text());
    EXPECT_EQ(captions, (std::vector<QString>{U("元に戻す"), U("ブラウザで開く"), U("コピー"), U("修正"),
                                              U("追跡ﾊﾟﾗﾒｰﾀ除去"), U("削除"), U("リンク確認")}));
    EXPECT_FALSE(MenuItem(menu, "actionUndo")->isEnabled());
    menu->hide();
    // Greyed in the menu, the key still answers.
    Key(List(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Status(), U("エラー＞元に戻す操作がありません。"));

    SelectRows({0});
    MenuItem("actionCopy")->trigger();
    EXPECT_EQ(Services.Clipboard, "http://a.example/1");
    MenuItem("actionDelete")->trigger();
    EXPECT_EQ(Status(), U("報告＞URLを削除しました。"));
    menu = OpenMenu();
    EXPECT_TRUE(MenuItem(menu, "actionUndo")->isEnabled());
    MenuItem(menu, "actionUndo")->trigger();
    EXPECT_EQ(ShownItems().size(), 4u);
    EXPECT_EQ(SelectedRows(), std::vector<int>{0});  // as before the delete
    List()->clearSelection();
    SelectRows({3});
    MenuItem("actionModify")->trigger();
    EXPECT_EQ(Find<QLineEdit>("UrlEntryEdit")->text(), "https://c.example/4");
}

TEST_F(ListActionsTest, OpeningInTheBrowserSkipsItemsThatAreNoWebAddresses)
{
    MenuItem("actionOpenInBrowser")->trigger();
    EXPECT_EQ(Status(), U("エラー＞開くURLが選択されていません。"));
    SelectRows({2});
    MenuItem("actionOpenInBrowser")->trigger();
    EXPECT_EQ(Status(), U("エラー＞開くURLが選択されていません。"));
    EXPECT_TRUE(Browser.Opened.isEmpty());

    SelectRows({0, 1, 2, 3});
    MenuItem("actionOpenInBrowser")->trigger();
    EXPECT_EQ(Status(), U("報告＞ブラウザで開きました。"));
    EXPECT_EQ(Browser.Opened,
              (QStringList{"http://a.example/1", "http://www.b.example/2", "https://c.example/4"}));
}

TEST_F(ListActionsTest, TheFocusedItemOpensWhenNoneIsSelected)
{
    List()->setCurrentIndex(List()->Model()->index(3));
    List()->clearSelection();
    MenuItem("actionOpenInBrowser")->trigger();
    EXPECT_EQ(Browser.Opened, QStringList{"https://c.example/4"});
}

TEST_F(ListActionsTest, MoreThanTenItemsAreOpenedOnlyAfterYes)
{
    // Ten web addresses (the relative item does not count) open at once.
    for (int i = 0; i < 7; ++i)
        Form->Workspace().List.Append("http://more.example/" + std::to_string(i));
    Form->Workspace().ListModel.SelectionChanged();
    Key(List(), Qt::Key_A, Qt::ControlModifier);
    MenuItem("actionOpenInBrowser")->trigger();
    EXPECT_EQ(Browser.Opened.size(), 10);

    Browser.Opened.clear();
    Form->Workspace().List.Append("http://more.example/last");
    Form->Workspace().ListModel.SelectionChanged();
    Key(List(), Qt::Key_A, Qt::ControlModifier);
    Form->Workspace().SetStatus({});
    QString defaultText, question;
    AnswerQuestion(U("いいえ"), &defaultText, &question);
    MenuItem("actionOpenInBrowser")->trigger();
    EXPECT_EQ(question, U("11件のURLを開きますか？"));
    EXPECT_EQ(defaultText, U("いいえ"));
    EXPECT_TRUE(Browser.Opened.isEmpty());
    EXPECT_EQ(Status(), QString());

    AnswerQuestion(U("はい"));
    MenuItem("actionOpenInBrowser")->trigger();
    EXPECT_EQ(Browser.Opened.size(), 11);
    EXPECT_EQ(Status(), U("報告＞ブラウザで開きました。"));
}

TEST_F(ListActionsTest, DraggedItemsArePlainTextAndAUriListInListOrder)
{
    TUrlListModel& model = *Form->findChild<TUrlListView*>("UrlListBox")->Model();
    EXPECT_EQ(model.mimeData({}), nullptr);
    EXPECT_TRUE(model.flags(model.index(1)) & Qt::ItemIsDragEnabled);
    std::unique_ptr<QMimeData> data(model.mimeData({model.index(3), model.index(1), model.index(2)}));
    ASSERT_TRUE(data);
    EXPECT_EQ(data->text(), "www.b.example/2\r\n../relative/3\r\nhttps://c.example/4");
    const QList<QUrl> urls = data->urls();
    EXPECT_EQ(urls, (QList<QUrl>{QUrl("http://www.b.example/2"), QUrl("https://c.example/4")}));
}

TEST_F(ListActionsTest, DroppedTextAndLinksArePastedAndFilesStayFiles)
{
    QMimeData text;
    text.setText(U("ここ→http://dropped.example/x です\nwww.second.example/"));
    EXPECT_TRUE(DropOnList(text));
    EXPECT_EQ(Status(), U("正常＞CBよりURLを抽出しました。"));
    EXPECT_EQ(ShownItems().size(), 6u);
    EXPECT_EQ(ShownItems()[5], "http://www.second.example/");

    QMimeData links;
    links.setUrls({QUrl("https://link.example/a"), QUrl("ftp://link.example/b")});
    EXPECT_TRUE(DropOnList(links));
    EXPECT_EQ(ShownItems().size(), 8u);
    EXPECT_EQ(ShownItems()[6], "http://link.example/a");  // the recognizer's scheme rule

    WriteFile("dropped.txt", "http://from.file/\r\n");
    QMimeData files;
    files.setUrls({QUrl::fromLocalFile(QString::fromStdString(PathOf("dropped.txt")))});
    EXPECT_TRUE(DropOnList(files));
    EXPECT_EQ(Status(), U("報告＞ﾄﾞﾛｯﾌﾟされたﾌｧｲﾙの解析を終了しました。"));
    EXPECT_EQ(ShownItems().back(), "http://from.file/");

    // The entry line keeps taking dropped text as text.
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
    QObject* window = Form.get();
    EXPECT_FALSE(window->eventFilter(Find<QLineEdit>("UrlEntryEdit"), &drop));
}

TEST(YesNoQuestion, UsesThePlainButtonTextsWithTheChosenDefault)
{
    QString defaultText;
    AnswerQuestion(U("はい"), &defaultText);
    EXPECT_TRUE(AskYesNo(nullptr, U("作成しますか？"), true));
    EXPECT_EQ(defaultText, U("はい"));
    AnswerQuestion(U("いいえ"), &defaultText);
    EXPECT_FALSE(AskYesNo(nullptr, U("作成しますか？"), false));
    EXPECT_EQ(defaultText, U("いいえ"));
}

TEST(QtJapanese, QtsOwnTextsReadJapanese)
{
    ASSERT_TRUE(InstallQtJapanese(*QCoreApplication::instance()));
    EXPECT_EQ(QCoreApplication::translate("QLineEdit", "&Undo"), U("元に戻す(&U)"));
    EXPECT_NE(QCoreApplication::translate("QFileDialog", "Look in:"), "Look in:");
}

#include "ListActionsTest.moc"
