// The list's keys, its context menu, opening in the browser, dragging URLs
// out and dropping text in, and the program's own yes/no questions.
#include <QApplication>
#include <QContextMenuEvent>
#include <QDesktopServices>
#include <QDropEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "BrowserOpener.h"
#include "DesktopServices.h"
#include "QtTranslation.h"
#include "UrlDrag.h"
#include "UrlListContextMenu.h"
#include "WindowFixture.h"

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
        Services.ClipIgnore = &Form->Workspace().ClipIgnore;
        AddItems({"http://a.example/1", "www.b.example/2", "../relative/3", "https://c.example/4"});
        for (const char* scheme : {"http", "https", "ftp", "mms", "rtsp", "file"})
            QDesktopServices::setUrlHandler(QString::fromLatin1(scheme), &Browser, "Open");
    }
    void TearDown() override
    {
        for (const char* scheme : {"http", "https", "ftp", "mms", "rtsp", "file"})
            QDesktopServices::unsetUrlHandler(QString::fromLatin1(scheme));
    }
    void Key(QWidget* target, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(target, key, modifiers);
    }
    TUrlListContextMenu* OpenMenu()
    {
        const QPoint point(5, 5);
        QContextMenuEvent event(QContextMenuEvent::Keyboard, point, Form->UrlListBox->mapToGlobal(point));
        QApplication::sendEvent(Form->UrlListBox, &event);
        auto* menu = Form->findChild<TUrlListContextMenu*>(QStringLiteral("UrlListMenu"));
        EXPECT_TRUE(menu && menu->isVisible());
        return menu;
    }
    bool DropOnList(QMimeData& data)
    {
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QObject* window = Form.get();
        return window->eventFilter(Form->UrlListBox->viewport(), &drop);
    }
};

TEST_F(ListActionsTest, EnterInTheEntryLineAdds)
{
    Form->UrlEntryEdit->setText("http://entered.example/");
    Key(Form->UrlEntryEdit, Qt::Key_Return);
    EXPECT_EQ(Status(), U("報告＞URLを追加しました。"));
    EXPECT_EQ(ShownItems().back(), "http://entered.example/");
    EXPECT_EQ(Form->UrlEntryEdit->text(), "http://");
}

TEST_F(ListActionsTest, DeleteSelectAllAndCopyKeysRunTheButtonsHandlers)
{
    Key(Form->UrlListBox, Qt::Key_Delete);
    EXPECT_EQ(Status(), U("エラー＞削除するURLが選択されていません。"));
    Key(Form->UrlListBox, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(SelectedRows(), (std::vector<int>{0, 1, 2, 3}));

    // Copying from the list is the program's own write: monitoring must not
    // take it for another program's copy.
    Key(Form->UrlListBox, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(Status(), U("報告＞選択中のURLをCBに転送しました。"));
    EXPECT_EQ(Services.Clipboard,
              "http://a.example/1\r\nwww.b.example/2\r\n../relative/3\r\nhttps://c.example/4");
    EXPECT_EQ(Services.IgnoredWrites, std::vector<bool>{true});

    Key(Form->UrlListBox, Qt::Key_Delete);
    EXPECT_EQ(Status(), U("報告＞URLを削除しました。"));
    EXPECT_TRUE(ShownItems().empty());
}

TEST_F(ListActionsTest, UndoAndBothRedoKeysRestoreItemsAndSelection)
{
    Key(Form->UrlListBox, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Status(), U("エラー＞元に戻す操作がありません。"));
    SelectRows({1, 3});
    Form->DeleteButton->click();
    ASSERT_EQ(ShownItems().size(), 2u);

    Key(Form->UrlListBox, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Status(), U("報告＞元に戻しました。"));
    EXPECT_EQ(ShownItems()[1], "www.b.example/2");
    EXPECT_EQ(SelectedRows(), (std::vector<int>{1, 3}));
    EXPECT_EQ(Form->UrlListBox->currentIndex().row(), 1);

    Key(Form->UrlListBox, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(Status(), U("報告＞やり直しました。"));
    EXPECT_EQ(ShownItems().size(), 2u);
    Key(Form->UrlListBox, Qt::Key_Z, Qt::ControlModifier);
    Key(Form->UrlListBox, Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(ShownItems().size(), 2u);
    Key(Form->UrlListBox, Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(Status(), U("エラー＞やり直す操作がありません。"));
}

TEST_F(ListActionsTest, ModifyIsUndoneWithTheEntryLine)
{
    SelectRows({2});
    Form->UrlEntryEdit->setText("http://typed/");
    Form->ModifyButton->click();
    EXPECT_EQ(Form->UrlEntryEdit->text(), "../relative/3");
    Key(Form->UrlListBox, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Form->UrlEntryEdit->text(), "http://typed/");
    EXPECT_EQ(ShownItems()[2], "../relative/3");
}

TEST_F(ListActionsTest, TheContextMenuRunsTheHandlers)
{
    TUrlListContextMenu* menu = OpenMenu();
    ASSERT_TRUE(menu);
    std::vector<QString> captions;
    for (QAction* action : menu->actions())
        if (!action->isSeparator())
            captions.push_back(action->text());
    EXPECT_EQ(captions,
              (std::vector<QString>{U("元に戻す"), U("ブラウザで開く"), U("コピー"), U("修正"), U("削除")}));
    EXPECT_FALSE(menu->UndoItem->isEnabled());
    menu->hide();

    SelectRows({0});
    OpenMenu()->CopyItem->trigger();
    EXPECT_EQ(Services.Clipboard, "http://a.example/1");
    OpenMenu()->DeleteItem->trigger();
    EXPECT_EQ(Status(), U("報告＞URLを削除しました。"));
    menu = OpenMenu();
    EXPECT_TRUE(menu->UndoItem->isEnabled());
    menu->UndoItem->trigger();
    EXPECT_EQ(ShownItems().size(), 4u);
    EXPECT_EQ(SelectedRows(), std::vector<int>{0});  // as before the delete
    Form->UrlListBox->clearSelection();
    SelectRows({3});
    OpenMenu()->ModifyItem->trigger();
    EXPECT_EQ(Form->UrlEntryEdit->text(), "https://c.example/4");
}

TEST_F(ListActionsTest, OpeningInTheBrowserSkipsItemsThatAreNoWebAddresses)
{
    OpenMenu()->OpenItem->trigger();
    EXPECT_EQ(Status(), U("エラー＞開くURLが選択されていません。"));
    SelectRows({2});
    OpenMenu()->OpenItem->trigger();
    EXPECT_EQ(Status(), U("エラー＞開くURLが選択されていません。"));
    EXPECT_TRUE(Browser.Opened.isEmpty());

    SelectRows({0, 1, 2, 3});
    OpenMenu()->OpenItem->trigger();
    EXPECT_EQ(Status(), U("報告＞ブラウザで開きました。"));
    EXPECT_EQ(Browser.Opened,
              (QStringList{"http://a.example/1", "http://www.b.example/2", "https://c.example/4"}));
}

TEST_F(ListActionsTest, TheFocusedItemOpensWhenNoneIsSelected)
{
    Form->UrlListBox->setCurrentIndex(Form->UrlListBox->Model()->index(3));
    Form->UrlListBox->clearSelection();
    OpenMenu()->OpenItem->trigger();
    EXPECT_EQ(Browser.Opened, QStringList{"https://c.example/4"});
}

TEST_F(ListActionsTest, MoreThanTenItemsAreOpenedOnlyAfterYes)
{
    // Ten web addresses (the relative item does not count) open at once.
    for (int i = 0; i < 7; ++i)
        Form->Workspace().List.Append("http://more.example/" + std::to_string(i));
    Form->WorkspaceToControls();
    Key(Form->UrlListBox, Qt::Key_A, Qt::ControlModifier);
    OpenMenu()->OpenItem->trigger();
    EXPECT_EQ(Browser.Opened.size(), 10);

    Browser.Opened.clear();
    Form->Workspace().List.Append("http://more.example/last");
    Form->WorkspaceToControls();
    Key(Form->UrlListBox, Qt::Key_A, Qt::ControlModifier);
    Form->Workspace().StatusLine.clear();
    QString defaultText, question;
    AnswerQuestion(U("いいえ"), &defaultText, &question);
    OpenMenu()->OpenItem->trigger();
    EXPECT_EQ(question, U("11件のURLを開きますか？"));
    EXPECT_EQ(defaultText, U("いいえ"));
    EXPECT_TRUE(Browser.Opened.isEmpty());
    EXPECT_EQ(Status(), QString());

    AnswerQuestion(U("はい"));
    OpenMenu()->OpenItem->trigger();
    EXPECT_EQ(Browser.Opened.size(), 11);
    EXPECT_EQ(Status(), U("報告＞ブラウザで開きました。"));
}

TEST_F(ListActionsTest, DraggedItemsArePlainTextAndAUriList)
{
    EXPECT_EQ(UrlDragData(Form->Workspace().List), nullptr);
    TUrlList& list = Form->Workspace().List;
    for (std::size_t i : {1u, 2u, 3u})
        list.SetSelected(i, true);
    std::unique_ptr<QMimeData> data(UrlDragData(list));
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
    EXPECT_FALSE(window->eventFilter(Form->UrlEntryEdit, &drop));
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
