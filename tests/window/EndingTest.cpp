// How the window ends: the files it could not read are named once it shows,
// memos the user left alone keep their bytes, and an end nobody can be
// asked about saves once and lets the close after it pass.
#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>

#include "WindowFixture.h"

class EndingTest : public TWindowTest { };

TEST_F(EndingTest, UnreadableFilesAreNamedOnceTheWindowShows)
{
    QDir(Dir.path()).mkdir(QStringLiteral("List.txt"));
    Open();
    EXPECT_TRUE(Services.Errors.isEmpty());
    Form->show();
    QCoreApplication::processEvents();
    Form->hide();
    Form->show();
    QCoreApplication::processEvents();
    EXPECT_EQ(Services.Errors,
              QStringList{QString::fromStdString(PathOf("List.txt"))
                          + U(" を読み込めません（フォルダーです）。終了時に保存しません。")});
}

TEST_F(EndingTest, AMemoLeftAloneKeepsBytesTheTextCannotShow)
{
    const std::string odd = "bad \x81\x7f and \xa0\xfd\r\nline two\r\n";
    WriteFile("Memo1.txt", odd);
    WriteFile("Memo2.txt", odd);
    Open();
    Find<QPlainTextEdit>("MemoPad2Edit")
        ->setPlainText(Find<QPlainTextEdit>("MemoPad2Edit")->toPlainText() + U("!"));
    ASSERT_TRUE(Form->SaveBeforeQuitting());
    EXPECT_EQ(ReadFile("Memo1.txt"), odd);
    EXPECT_NE(ReadFile("Memo2.txt"), odd + "!");  // an edited memo goes through the text, as typed
    EXPECT_EQ(ReadFile("Memo2.txt").substr(ReadFile("Memo2.txt").size() - 3), "!\r\n");
}

TEST_F(EndingTest, SavingWithoutAskingHappensOnceAndTheLaterCloseNeitherSavesNorAsks)
{
    QDir(Dir.path()).mkdir(QStringLiteral("Memo2.txt"));
    OpenShown();
    AddItems({"http://saved.example/"});
    Find<QLineEdit>("MemoLineEdit")->setText("PVD");
    testing::internal::CaptureStderr();
    EXPECT_EQ(Form->SaveWithoutAsking(), 1);
    const std::string told = testing::internal::GetCapturedStderr();
    EXPECT_EQ(QString::fromStdString(told),
              QString::fromStdString(PathOf("Memo2.txt")) + U("：起動時に読み込めませんでした\n"));
    EXPECT_EQ(ReadFile("List.txt"), "http://saved.example/\r\n");

    Services.Errors.clear();
    AddItems({"http://after.example/"});
    EXPECT_EQ(Form->SaveWithoutAsking(), 1);
    EXPECT_TRUE(Form->close());
    EXPECT_EQ(ReadFile("List.txt"), "http://saved.example/\r\n");
    EXPECT_TRUE(Services.Questions.isEmpty());
    EXPECT_TRUE(Services.Messages.isEmpty());  // not even the farewell
    EXPECT_EQ(Form->EndStatus(), 1);
}

// A session saved without ending (a checkpoint, a logout cancelled later):
// once the user works on, closing saves what came after.
TEST_F(EndingTest, AfterASessionSaveTheUsersNextInputMakesTheCloseSaveAgain)
{
    OpenShown();
    AddItems({"http://saved.example/"});
    EXPECT_EQ(Form->SaveWithoutAsking(), 0);
    QTest::keyClick(Find<QLineEdit>("UrlEntryEdit"), Qt::Key_A);
    AddItems({"http://after.example/"});
    EXPECT_TRUE(Form->close());
    EXPECT_EQ(ReadFile("List.txt"), "http://saved.example/\r\nhttp://after.example/\r\n");
}

TEST_F(EndingTest, NoToTheQuestionLeavesTheProgramInTheTray)
{
    OpenShown();
    Form->hide();  // in the tray
    QDir(Dir.path()).mkdir(QStringLiteral("Linkrake.ini"));
    Services.ConfirmAnswer = false;
    Form->findChild<QAction*>(QStringLiteral("ExitItem"))->trigger();
    EXPECT_FALSE(Form->isVisible());
    EXPECT_EQ(Services.Questions.size(), 1);
    EXPECT_TRUE(QFile::exists(QString::fromStdString(PathOf("List.txt"))));  // saved all the same

    Services.ConfirmAnswer = true;
    EXPECT_TRUE(Form->close());
    EXPECT_EQ(Services.Questions.size(), 2);
}
