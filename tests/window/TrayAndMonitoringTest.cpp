// The window's clipboard monitoring over the application's real clipboard,
// the tray menu's entries, and a minimize on a desktop without a tray.
#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QGuiApplication>
#include <QMenu>
#include <QTest>

#include "WindowFixture.h"
#include "components/TrayIcon.h"

namespace {

class TrayAndMonitoringTest : public TWindowTest {
protected:
    // Another program's copy: the window hears the clipboard change, and the
    // fake desktop hands it `text` to read.
    void CopyElsewhere(const char* text)
    {
        Services.Clipboard = text;
        QGuiApplication::clipboard()->setText(QString::fromLatin1(text));
    }
    template <class T> T* Named(const char* name) const
    {
        T* found = Form->findChild<T*>(QLatin1String(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
};

}  // namespace

TEST_F(TrayAndMonitoringTest, CopiesAreReducedWhileMonitoringAndThePauseEntryStopsThatUntilARestore)
{
    OpenShown();
    Named<QCheckBox>("MonitorCheck")->setChecked(true);
    Form->Workspace().Monitoring.SetPaused(false);
    AddItems({"http://users.list/"});
    CopyElsewhere("see http://copied.example/ here");
    EXPECT_EQ(Services.Clipboard, "http://copied.example/");
    EXPECT_TRUE(ShownItems().empty());

    const QList<QAction*> entries = Named<QMenu>("TrayMenu")->actions();
    ASSERT_EQ(entries.size(), 4);
    EXPECT_EQ(entries[0]->text(), QStringLiteral("復帰"));
    EXPECT_TRUE(entries[2]->isSeparator());
    EXPECT_EQ(entries[3]->text(), QStringLiteral("終了"));
    Named<QAction>("PauseItem")->trigger();
    EXPECT_EQ(Named<QAction>("PauseItem")->text(), QStringLiteral("監視再開"));
    CopyElsewhere("paused http://paused.example/");
    EXPECT_EQ(Services.Clipboard, "paused http://paused.example/");

    Named<QAction>("RestoreItem")->trigger();
    EXPECT_EQ(Named<QAction>("PauseItem")->text(), QStringLiteral("監視中断"));
    CopyElsewhere("restored http://restored.example/");
    EXPECT_EQ(Services.Clipboard, "http://restored.example/");

    Named<QCheckBox>("MonitorCheck")->setChecked(false);
    CopyElsewhere("unchecked http://unchecked.example/");
    EXPECT_EQ(Services.Clipboard, "unchecked http://unchecked.example/");

    Form.reset();
    CopyElsewhere("after the window http://gone.example/");  // nobody listens
}

TEST_F(TrayAndMonitoringTest, ACopyAndTheTraysExitWaitForTheCommandWhoseDialogIsOpen)
{
    OpenShown();
    Named<QCheckBox>("MonitorCheck")->setChecked(true);
    AddItems({"http://users.list/"});
    Services.Files.push_back(std::nullopt);  // the dialog is cancelled
    Services.WhileChoosing = [this] {
        CopyElsewhere("see http://copied.example/ here");
        Named<QAction>("ExitItem")->trigger();
        EXPECT_EQ(Services.Clipboard, "see http://copied.example/ here");
        EXPECT_TRUE(Form->isVisible());
        EXPECT_EQ(ShownItems().size(), 1u);
    };
    Named<QAction>("actionInputFile")->trigger();
    EXPECT_EQ(Services.Clipboard, "http://copied.example/");
    EXPECT_FALSE(Form->isVisible());
}

TEST_F(TrayAndMonitoringTest, WithoutANotificationAreaAMinimizeIsReportedAndKeepsTheTaskBarEntry)
{
    ASSERT_FALSE(TTrayIcon::AreaAvailable()) << "headless: no notification area";
    OpenShown();
    EXPECT_EQ(Named<TTrayIcon>("TrayIcon")->ToolTip(), QStringLiteral("Linkrake"));
    Form->showMinimized();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !Services.Errors.isEmpty(); }, 2000));
    // Reported as any failure is, with the period that report adds.
    EXPECT_EQ(Services.Errors, QStringList{TWorkspace::DefaultErrorText(
                                   QStringLiteral("タスクトレイにアイコンを登録できません。"))});
    EXPECT_FALSE(Named<TTrayIcon>("TrayIcon")->Visible());
    EXPECT_TRUE(Form->isVisible());
    EXPECT_TRUE(Form->isMinimized());
}
