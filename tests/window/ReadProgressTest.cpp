// Long readings show their progress, can be stopped, and hold back closing
// and clipboard monitoring until they end.
#include <QCoreApplication>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

#include "ReadProgress.h"
#include "WindowFixture.h"
#include <QTabWidget>

class ReadProgressTest : public TWindowTest {
protected:
    static constexpr int Lines = 300000;
    std::string Big;

    void SetUp() override
    {
        Open();
        // Far below the real threshold, so that a few megabytes count as long.
        Form->Reading->ProgressBytes = 1000;
        std::string text;
        for (int i = 0; i < Lines; ++i)
            text += "see http://big.example/" + std::to_string(i) + ".zip now\r\n";
        WriteFile("big.txt", text);
        Big = PathOf("big.txt");
    }
    // Runs step once the reading's own event loop is running.
    static void DuringTheReading(std::function<void()> step) { QTimer::singleShot(0, std::move(step)); }
    void ExpectPrefixOfTheFile() const
    {
        const TUrlList& list = Form->Workspace().List;
        for (std::size_t i = 0; i < list.Count(); ++i)
            ASSERT_EQ(list[i], "http://big.example/" + std::to_string(i) + ".zip");
    }
};

TEST_F(ReadProgressTest, ALongReadingShowsProgressAndDisablesTheOtherControls)
{
    bool shownWhileReading = false, controlsWaited = false;
    DuringTheReading([&] {
        shownWhileReading = Find<QWidget>("ReadProgressRow")->isVisibleTo(Form.get())
                            && Find<QPushButton>("ReadAbortButton")->isEnabled();
        controlsWaited =
            !Find<QTabWidget>("Pages")->isEnabled() && !Find<QPushButton>("SearchButton")->isEnabled();
    });
    Services.Files.push_back(Big);
    Click("InputFileButton");
    EXPECT_TRUE(shownWhileReading);
    EXPECT_TRUE(controlsWaited);
    EXPECT_EQ(Status(), U("正常＞ﾃｷｽﾄﾌｧｲﾙよりURLを抽出しました。"));
    EXPECT_EQ(Form->Workspace().List.Count(), static_cast<std::size_t>(Lines));
    ExpectPrefixOfTheFile();
    EXPECT_EQ(ShownItems().size(), static_cast<std::size_t>(Lines));
    EXPECT_FALSE(Find<QWidget>("ReadProgressRow")->isVisibleTo(Form.get()));
    EXPECT_TRUE(Find<QTabWidget>("Pages")->isEnabled());
}

TEST_F(ReadProgressTest, StoppingKeepsWhatWasReadAndSaysSo)
{
    AddItems({"http://before.example/"});
    DuringTheReading([&] { Find<QPushButton>("ReadAbortButton")->click(); });
    Form->ReadDroppedFiles({Big, Big});
    EXPECT_EQ(Status(), U("報告＞読み込みを中止しました。"));
    TUrlList& list = Form->Workspace().List;
    ASSERT_GT(list.Count(), 1u);
    EXPECT_LT(list.Count(), static_cast<std::size_t>(2 * Lines));
    EXPECT_EQ(list[0], "http://before.example/");
    list.Delete(0);
    ExpectPrefixOfTheFile();
    EXPECT_TRUE(Find<QTabWidget>("Pages")->isEnabled());
}

TEST_F(ReadProgressTest, AFailingFileIsReportedAfterTheFilesBeforeIt)
{
    Form->ReadDroppedFiles({Big, PathOf("absent.txt")});
    EXPECT_EQ(Services.Errors.size(), 1);
    EXPECT_EQ(Form->Workspace().List.Count(), static_cast<std::size_t>(Lines));
    EXPECT_TRUE(Find<QTabWidget>("Pages")->isEnabled());
}

TEST_F(ReadProgressTest, ClosingDuringAReadingStopsItAndSavesWhatWasRead)
{
    Form->show();
    DuringTheReading([&] { Form->close(); });
    Form->ReadDroppedFiles({Big});
    EXPECT_TRUE(Form->isVisible());  // the close waits for the handler to end
    QCoreApplication::processEvents();
    EXPECT_FALSE(Form->isVisible());
    const std::string saved = ReadFile("List.txt");
    EXPECT_FALSE(saved.empty());
    EXPECT_EQ(saved.rfind("http://big.example/0.zip\r\n", 0), 0u);
}

TEST_F(ReadProgressTest, AnEndWithoutAskingStopsTheReadingBeforeItSaves)
{
    int status = -1;
    DuringTheReading([&] { status = Form->SaveWithoutAsking(); });
    Form->ReadDroppedFiles({Big});
    EXPECT_EQ(status, 0);
    EXPECT_EQ(Status(), U("報告＞読み込みを中止しました。"));
    std::string listed;
    for (const TUrlList::TItem& item : Form->Workspace().List.Items())
        listed += item.Text + "\r\n";
    EXPECT_FALSE(listed.empty());
    EXPECT_TRUE(ReadFile("List.txt") == listed);  // nothing read after the save
}

TEST_F(ReadProgressTest, ClipboardMonitoringWaitsForTheReading)
{
    AddItems({"http://before.example/"});
    Form->Workspace().ClipIgnore = false;
    Form->Workspace().MonitorEnabled = true;
    Services.Clipboard = "copied http://clip.example/ text";
    std::size_t countDuring = 0;
    DuringTheReading([&] {
        Form->ClipboardChanged();
        countDuring = Form->Workspace().List.Count();
        Form->Reading->Abort();
    });
    Form->ReadDroppedFiles({Big});
    EXPECT_GT(countDuring, 0u);  // monitoring empties the list
    EXPECT_EQ(Services.Clipboard, "copied http://clip.example/ text");
    QCoreApplication::processEvents();
    EXPECT_EQ(Services.Clipboard, "http://clip.example/");
}
