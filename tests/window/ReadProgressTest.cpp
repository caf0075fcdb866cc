// Long readings run while the event loop goes on: they show their progress,
// can be stopped, and hold back the list's commands, closing and clipboard
// monitoring until they end.
#include <cstdio>

#include <QAction>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>

#include "WindowFixture.h"
#include "window/ReadProgress.h"

class ReadProgressTest : public TWindowTest {
protected:
    static constexpr int Lines = 300000;
    std::string Big;
    // Read again and again: far more than is read before a stop arrives.
    std::vector<std::string> Many;

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
        Many.assign(20, Big);
    }
    bool ReadingEnds() const
    {
        return RunUntil([this] { return !Form->Reading->Reading(); });
    }
    // Some URLs of the reading have reached the list, which held `before`.
    bool SomeRead(std::size_t before = 0) const
    {
        return RunUntil([this, before] { return Form->Workspace().List.Count() > before; });
    }
    std::string Listed() const
    {
        std::string listed;
        for (const TUrlList::TItem& item : Form->Workspace().List.Items())
            listed += item.Text + "\r\n";
        return listed;
    }
    // The list holds the item added before, then a beginning of Many.
    void ExpectBeforeAndPrefixOfMany() const
    {
        const TUrlList& list = Form->Workspace().List;
        ASSERT_GT(list.Count(), 1u);
        EXPECT_LT(list.Count(), Many.size() * Lines + 1);
        EXPECT_EQ(list[0], "http://before.example/");
        for (std::size_t i = 1; i < list.Count(); ++i)
            ASSERT_EQ(list[i], "http://big.example/" + std::to_string((i - 1) % Lines) + ".zip");
    }
};

TEST_F(ReadProgressTest, ALongReadingShowsProgressAndDisablesTheOtherControls)
{
    Services.Files.push_back(Big);
    Click("InputFileButton");
    EXPECT_TRUE(Form->Reading->Reading());  // the command returned to the event loop
    EXPECT_TRUE(Find<QWidget>("ReadProgressRow")->isVisibleTo(Form.get()));
    EXPECT_TRUE(Find<QPushButton>("ReadAbortButton")->isEnabled());
    EXPECT_FALSE(Find<QTabWidget>("Pages")->isEnabled());
    EXPECT_FALSE(Find<QPushButton>("SearchButton")->isEnabled());
    for (const char* command : {"actionPaste", "actionAdd", "actionInputFile", "actionUndo", "actionDelete"})
        EXPECT_FALSE(Find<QAction>(command)->isEnabled()) << command;

    ASSERT_TRUE(ReadingEnds());
    EXPECT_EQ(Status(), U("正常＞ﾃｷｽﾄﾌｧｲﾙよりURLを抽出しました。"));
    const TUrlList& list = Form->Workspace().List;
    ASSERT_EQ(list.Count(), static_cast<std::size_t>(Lines));
    for (std::size_t i = 0; i < list.Count(); ++i)
        ASSERT_EQ(list[i], "http://big.example/" + std::to_string(i) + ".zip");
    EXPECT_EQ(ShownItems().size(), static_cast<std::size_t>(Lines));
    EXPECT_FALSE(Find<QWidget>("ReadProgressRow")->isVisibleTo(Form.get()));
    EXPECT_TRUE(Find<QTabWidget>("Pages")->isEnabled());
    EXPECT_TRUE(Find<QAction>("actionPaste")->isEnabled());
    // One step undoes the whole reading.
    Find<QAction>("actionUndo")->trigger();
    EXPECT_TRUE(Form->Workspace().List.Empty());
}

TEST_F(ReadProgressTest, StoppingKeepsWhatWasReadAndSaysSo)
{
    AddItems({"http://before.example/"});
    Form->ReadDroppedFiles(Many);
    ASSERT_TRUE(SomeRead(1));
    Click("ReadAbortButton");
    ASSERT_TRUE(ReadingEnds());
    EXPECT_EQ(Status(), U("報告＞読み込みを中止しました。"));
    ExpectBeforeAndPrefixOfMany();
    EXPECT_TRUE(Find<QTabWidget>("Pages")->isEnabled());
}

TEST_F(ReadProgressTest, AFailingFileIsReportedAfterTheFilesBeforeIt)
{
    Form->ReadDroppedFiles({Big, PathOf("absent.txt")});
    ASSERT_TRUE(ReadingEnds());
    EXPECT_EQ(Services.Errors.size(), 1);
    EXPECT_EQ(Form->Workspace().List.Count(), static_cast<std::size_t>(Lines));
    EXPECT_EQ(ShownItems().size(), static_cast<std::size_t>(Lines));
    EXPECT_TRUE(Find<QTabWidget>("Pages")->isEnabled());
}

// Closing, a signal and the session's end stop the reading, and the list
// they save is the whole list with what was read.
TEST_F(ReadProgressTest, AnEndDuringAReadingSavesTheListWithWhatWasRead)
{
    const std::function<void(TMainWindow&)> ends[] = {
        [](TMainWindow& form) { EXPECT_TRUE(form.close()); },
        [](TMainWindow& form) { EXPECT_EQ(form.SaveWithoutAsking(), 0); },
    };
    for (const auto& end : ends) {
        std::remove(PathOf("List.txt").c_str());
        Open();
        Form->Reading->ProgressBytes = 1000;
        Form->show();
        AddItems({"http://before.example/"});
        Form->ReadDroppedFiles(Many);
        ASSERT_TRUE(SomeRead(1));
        end(*Form);
        ExpectBeforeAndPrefixOfMany();
        EXPECT_TRUE(ReadFile("List.txt") == Listed());
        ASSERT_TRUE(ReadingEnds());
        EXPECT_EQ(Status(), U("報告＞読み込みを中止しました。"));
        EXPECT_TRUE(ReadFile("List.txt") == Listed());  // nothing read after the save
    }
}

TEST_F(ReadProgressTest, ClipboardMonitoringWaitsForTheReading)
{
    AddItems({"http://before.example/"});
    Form->Workspace().Monitoring.Switch(true);
    Form->Workspace().Monitoring.SetPaused(false);
    Services.Clipboard = "copied http://clip.example/ text";
    Form->ReadDroppedFiles({Big});
    Form->ClipboardChanged();
    Form->ClipboardChanged();
    EXPECT_EQ(Form->Workspace().List[0], "http://before.example/");  // monitoring empties the list
    EXPECT_EQ(Services.Clipboard, "copied http://clip.example/ text");
    Form->Reading->Abort();
    ASSERT_TRUE(ReadingEnds());
    EXPECT_EQ(Services.Clipboard, "http://clip.example/");
    // Taken up once: the next reading ends without it.
    Services.Clipboard = "copied again http://again.example/";
    Form->ReadDroppedFiles({Big});
    ASSERT_TRUE(ReadingEnds());
    EXPECT_EQ(Services.Clipboard, "copied again http://again.example/");
}
