// Paths that are not regular files are never read by the window: a FIFO
// without a writer would block it for good, /dev/zero would never end.
#include <random>

#include <sys/stat.h>

#include <QPushButton>

#include "WindowFixture.h"

namespace {

class NonRegularFilesTest : public TWindowTest {
protected:
    void SetUp() override
    {
        Open();
        mkfifo(PathOf("pipe").c_str(), 0600);
    }
    static QString Refusal(const std::string& path)
    {
        return QString::fromStdString(path) + U(" を読み込めません（通常のファイルではありません）。");
    }
    std::vector<std::string> Texts() const
    {
        std::vector<std::string> texts;
        for (const TUrlList::TItem& item : Form->Workspace().List.Items())
            texts.push_back(item.Text);
        return texts;
    }
};

TEST_F(NonRegularFilesTest, TextFileInputRefusesAFifoAndADevice)
{
    for (const std::string& path : {PathOf("pipe"), std::string("/dev/zero")}) {
        Services.Errors.clear();
        const QString before = Status();
        Services.Files.push_back(path);
        Click("InputFileButton");
        EXPECT_EQ(Services.Errors, QStringList{Refusal(path)});
        EXPECT_EQ(Status(), before);
        EXPECT_TRUE(Form->Workspace().List.Empty());
    }
}

// Regular files, FIFOs and devices in a random order: the regular files are
// read in order, and one box names every other path.
TEST_F(NonRegularFilesTest, ADropReadsTheRegularFilesAndNamesTheOthers)
{
    std::minstd_rand draw(21);
    for (int round = 0; round < 12; ++round) {
        Form->Workspace().List.Clear();
        Services.Errors.clear();
        std::vector<std::string> paths, expected;
        QStringList refused;
        for (int i = 0; i < 5; ++i) {
            const std::string name = "f" + std::to_string(round) + "-" + std::to_string(i);
            switch (draw() % 3) {
            case 0:
                WriteFile(name.c_str(), "see http://" + name + ".example/\r\n");
                paths.push_back(PathOf(name.c_str()));
                expected.push_back("http://" + name + ".example/");
                break;
            case 1:
                paths.push_back(PathOf("pipe"));
                refused << Refusal(paths.back());
                break;
            default:
                paths.push_back(draw() % 2 ? "/dev/zero" : "/dev/null");
                refused << Refusal(paths.back());
            }
        }
        Form->ReadDroppedFiles(paths);
        EXPECT_EQ(Texts(), expected) << round;
        EXPECT_EQ(Services.Errors, refused.isEmpty() ? QStringList() : QStringList{refused.join(u'\n')});
        if (!expected.empty()) {
            EXPECT_EQ(Status(), U("報告＞ﾄﾞﾛｯﾌﾟされたﾌｧｲﾙの解析を終了しました。"));
        }
    }
}

}  // namespace
