// Readings that run out of memory, run under an address-space limit (see
// CMakeLists.txt): a file whose last line never ends, read in the
// background. The window stops the reading, keeps the URLs of the lines
// before, names the file, and closes normally when asked to meanwhile.
#include <filesystem>

#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>

#include "WindowFixture.h"
#include "window/ReadProgress.h"

namespace {

class MemoryLimitTest : public TWindowTest {
protected:
    static constexpr int Lines = 1000;
    std::string Endless;
    QTimer FPoll;

    void SetUp() override
    {
        Open();
        Form->Reading->ProgressBytes = 1000;
        std::string text;
        for (int i = 0; i < Lines; ++i)
            text += "see http://line.example/" + std::to_string(i) + " now\r\n";
        WriteFile("endless.txt", text);
        Endless = PathOf("endless.txt");
        // Zeros without a line break: more than the limit lets anyone hold.
        std::filesystem::resize_file(Endless, std::uintmax_t{64} << 30);
    }
    // Runs step once, when the reading is past the short lines.
    void InsideTheEndlessLine(std::function<void()> step)
    {
        QObject::connect(&FPoll, &QTimer::timeout, [this, step] {
            if (Find<QProgressBar>("ReadProgressBar")->value() > 0 && FPoll.isActive()) {
                FPoll.stop();
                step();
            }
        });
        FPoll.start(1);
    }
    bool ReadingEnds() const
    {
        return RunUntil([this] { return !Form->Reading->Reading(); });
    }
    void ExpectTheLinesBefore() const
    {
        const TUrlList& list = Form->Workspace().List;
        ASSERT_EQ(list.Count(), static_cast<std::size_t>(Lines));
        for (std::size_t i = 0; i < list.Count(); ++i)
            ASSERT_EQ(list[i], "http://line.example/" + std::to_string(i));
    }
};

TEST_F(MemoryLimitTest, AReadingShortOfMemoryKeepsTheLinesBeforeAndNamesTheFile)
{
    Form->ReadDroppedFiles({Endless});
    ASSERT_TRUE(ReadingEnds());
    EXPECT_EQ(Services.Errors,
              QStringList{QString::fromStdString(Endless) + U(" を読み込めません（メモリが足りません）。")});
    ExpectTheLinesBefore();
    EXPECT_TRUE(Find<QTabWidget>("Pages")->isEnabled());
    // The memory came back: the list still takes more.
    Services.Clipboard = "http://after.example/";
    Click("PasteButton");
    EXPECT_EQ(Form->Workspace().List.Count(), static_cast<std::size_t>(Lines) + 1);
}

TEST_F(MemoryLimitTest, StopStopsWithinTheEndlessLine)
{
    InsideTheEndlessLine([&] { Find<QPushButton>("ReadAbortButton")->click(); });
    Form->ReadDroppedFiles({Endless});
    ASSERT_TRUE(ReadingEnds());
    EXPECT_TRUE(Services.Errors.isEmpty()) << Services.Errors.join(u'\n').toStdString();
    EXPECT_EQ(Status(), U("報告＞読み込みを中止しました。"));
    ExpectTheLinesBefore();
}

TEST_F(MemoryLimitTest, ClosingDuringTheReadingStopsItThenClosesAndSaves)
{
    Form->show();
    InsideTheEndlessLine([&] { Form->close(); });
    Form->ReadDroppedFiles({Endless});
    EXPECT_TRUE(RunUntil([this] { return !Form->isVisible(); }));
    std::string expected;
    for (int i = 0; i < Lines; ++i)
        expected += "http://line.example/" + std::to_string(i) + "\r\n";
    EXPECT_TRUE(ReadFile("List.txt") == expected);
}

}  // namespace
