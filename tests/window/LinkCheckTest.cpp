// The link page and the check in the window, against a scripted loopback
// server.
#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QGuiApplication>
#include <QSignalSpy>
#include <QTabWidget>

#include "ScriptedWebServer.h"
#include "WindowFixture.h"
#include "linkcheck/LinkChecker.h"

namespace {

class LinkCheckTest : public TWindowTest {
protected:
    void SetUp() override
    {
        for (const char* name :
             {"http_proxy", "https_proxy", "HTTP_PROXY", "HTTPS_PROXY", "all_proxy", "ALL_PROXY"})
            qunsetenv(name);
    }
    void AwaitEnd() const { QTRY_VERIFY_WITH_TIMEOUT(!Form->CheckingLinks(), 10000); }
    QString Said(int row, int role = Qt::ToolTipRole) const
    {
        const auto* model = Find<TUrlListView>("UrlListBox")->Model();
        return model->data(model->index(row), role).toString();
    }
};

}  // namespace

TEST_F(LinkCheckTest, ChecksMarksSelectsTheDeadRewritesTheMovedAndStopsWhenAsked)
{
    TScriptedWebServer host(QHostAddress(QStringLiteral("127.0.0.7")));
    host.Script = {{"/gone", {404}}, {"/old", {301, "/new"}}, {"/hang", TScriptedAnswer().Hanging()}};
    const std::string base = host.Base().toStdString();
    OpenShown();
    auto* pages = Find<QTabWidget>("Pages");
    ASSERT_EQ(pages->count(), 5);
    EXPECT_EQ(pages->indexOf(Find<QWidget>("LinkPage")), pages->indexOf(Find<QWidget>("ToolsPage")) + 1);
    EXPECT_EQ(pages->tabText(pages->indexOf(Find<QWidget>("LinkPage"))), U("リンク"));
    Click("LinkCheckButton");
    EXPECT_EQ(Status(), U("エラー＞確認するURLがありません。"));

    AddItems({(base + "/ok").c_str(), (base + "/gone").c_str(), (base + "/old").c_str(),
              "ftp://files.example/", (base + "/ok").c_str()});
    QSignalSpy told(Find<TUrlListView>("UrlListBox")->Model(), &QAbstractItemModel::dataChanged);
    Click("LinkCheckButton");
    EXPECT_EQ(Status(), U("報告＞リンクを確認しています。しばらくお待ち下さい。"));
    EXPECT_TRUE(Find<QWidget>("LinkCheckProgressRow")->isVisible());
    for (const char* button :
         {"AddButton", "PasteButton", "InputFileButton", "DeleteButton", "ReplaceButton"})
        EXPECT_FALSE(Find<QPushButton>(button)->isEnabled()) << button;
    EXPECT_TRUE(Find<TUrlListView>("UrlListBox")->isEnabled());
    AwaitEnd();
    EXPECT_EQ(Status(),
              U("報告＞リンク確認完了：正常 2件、移転 1件、リンク切れ 1件、確認できず 0件、対象外 1件。"));
    EXPECT_EQ(SelectedRows(), std::vector<int>{1});
    EXPECT_TRUE(Find<QPushButton>("AddButton")->isEnabled());
    EXPECT_FALSE(Find<QWidget>("LinkCheckProgressRow")->isVisible());
    EXPECT_EQ(Said(0, Qt::AccessibleDescriptionRole), U("正常 (200)"));
    EXPECT_EQ(Said(1), U("リンク切れ (404)"));
    EXPECT_EQ(Said(2), QString::fromStdString("移転 → " + base + "/new"));
    EXPECT_EQ(Said(3), U("対象外"));
    EXPECT_EQ(host.RequestsFor("/ok"), 1) << "the duplicate is asked once";
    // Outcomes reach the views and a screen reader in batches, every row in one.
    ASSERT_GE(told.count(), 1);
    EXPECT_LT(told.count(), 5);
    int first = 5, last = -1;
    for (const QList<QVariant>& change : told) {
        first = std::min(first, change[0].toModelIndex().row());
        last = std::max(last, change[1].toModelIndex().row());
    }
    EXPECT_EQ(first, 0);
    EXPECT_EQ(last, 4);

    Click("ReplaceWithMovedButton");
    EXPECT_EQ(Status(), U("報告＞移転先に置き換えました。(1件)"));
    EXPECT_EQ(ShownItems()[2], QString::fromStdString(base + "/new"));
    EXPECT_EQ(Said(2), QString());
    Find<QAction>("actionUndo")->trigger();
    EXPECT_EQ(ShownItems()[2], QString::fromStdString(base + "/old"));
    EXPECT_EQ(Said(2), QString()) << "an undone rewrite takes no outcome back";
    Click("ReplaceWithMovedButton");
    EXPECT_EQ(Status(), U("エラー＞置き換える移転先がありません。"));

    // 中止: outcomes kept, the selection as it was.
    AddItems({(base + "/hang").c_str()});
    Click("ClearSelectionButton");
    SelectRows({5});
    Click("LinkCheckButton");
    Click("LinkCheckAbortButton");
    EXPECT_FALSE(Form->CheckingLinks());
    EXPECT_EQ(Status(), U("報告＞リンク確認を中止しました。"));
    EXPECT_EQ(SelectedRows(), std::vector<int>{5});
    EXPECT_EQ(Said(1), U("リンク切れ (404)"));
    // Outcomes move with their items: a delete and its undo shift row 1.
    SelectRows({0});
    Click("DeleteButton");
    EXPECT_EQ(Said(0), U("リンク切れ (404)"));
    Find<QAction>("actionUndo")->trigger();
    EXPECT_EQ(Said(1), U("リンク切れ (404)"));

    // A copy elsewhere under monitoring stops the check, then is handled.
    Click("LinkCheckButton");
    ASSERT_TRUE(Form->CheckingLinks());
    Find<QCheckBox>("MonitorCheck")->setChecked(true);
    Form->Workspace().Monitoring.SetPaused(false);
    Services.Clipboard = "see http://copied.example/ here";
    QGuiApplication::clipboard()->setText(QStringLiteral("see http://copied.example/ here"));
    QTRY_VERIFY_WITH_TIMEOUT(Services.Clipboard == "http://copied.example/", 5000);
    EXPECT_FALSE(Form->CheckingLinks());
    Find<QCheckBox>("MonitorCheck")->setChecked(false);

    // Closing during a check ends it at once and saves as usual.
    AddItems({(base + "/hang").c_str()});
    Click("LinkCheckButton");
    ASSERT_TRUE(Form->CheckingLinks());
    QElapsedTimer closing;
    closing.start();
    EXPECT_TRUE(Form->close());
    EXPECT_FALSE(Form->CheckingLinks());
    EXPECT_LT(closing.elapsed(), 5000);
    EXPECT_NE(ReadFile("List.txt").find("/hang"), std::string::npos);
}
