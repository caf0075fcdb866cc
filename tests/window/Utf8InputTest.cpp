// Text as the desktop writes it: UTF-8 files, and characters beyond
// Shift_JIS from the clipboard, the edit lines and the memo pads.
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include "WindowFixture.h"

namespace {

const char* const EmojiUrl = "http://a.example/😀?q=한";
const char* const EmojiUrlInList = "http://a.example/%F0%9F%98%80?q=%ED%95%9C";

}  // namespace

class Utf8InputTest : public TWindowTest { };

TEST_F(Utf8InputTest, AUtf8FileGivesTheUrlsOfItsShiftJisCopy)
{
    Open();
    Find<QCheckBox>("SchemeRuleCheck")->setChecked(false);
    WriteFile("utf8.txt",
              "\xEF\xBB\xBF（https://ja.wikipedia.org/wiki/日本）\r\n見て→https://b.example/😀\r\n");
    Services.Files.push_back(PathOf("utf8.txt"));
    Click("InputFileButton");
    EXPECT_EQ(Status(), U("正常＞ﾃｷｽﾄﾌｧｲﾙよりURLを抽出しました。"));
    EXPECT_EQ(ShownItems(), (std::vector<QString>{U("https://ja.wikipedia.org/wiki/日本）"),
                                                  U("https://b.example/%F0%9F%98%80")}));
    Form->SaveBeforeQuitting();
    EXPECT_EQ(ReadFile("List.txt"), "https://ja.wikipedia.org/wiki/\x93\xFA\x96\x7B\x81\x6A\r\n"
                                    "https://b.example/%F0%9F%98%80\r\n");
}

TEST_F(Utf8InputTest, TypedCharactersBeyondShiftJisArePercentEncodedWhereTheyMeetTheList)
{
    Open();
    Find<QLineEdit>("UrlEntryEdit")->setText(U(EmojiUrl));
    Click("AddButton");
    EXPECT_EQ(ShownItems(), std::vector<QString>{U(EmojiUrlInList)});
    Find<QLineEdit>("SearchEdit")->setText(U("😀"));
    Click("SearchButton");
    EXPECT_EQ(SelectedRows(), std::vector<int>{0});
    Find<QLineEdit>("FindEdit")->setText(U("한"));
    Find<QLineEdit>("ReplaceWithEdit")->setText(U("국"));
    Click("ReplaceButton");
    EXPECT_EQ(ShownItems(), std::vector<QString>{U("http://a.example/%F0%9F%98%80?q=%EA%B5%AD")});
}

TEST_F(Utf8InputTest, ClipboardTextKeepsAnEmojiInAUrlWhenPastedAndWhenMonitored)
{
    // The desktop's own clipboard, not a scripted one.
    Form = std::make_unique<TMainWindow>(nullptr, Folder());
    QApplication::clipboard()->setText(U("見て ") + U(EmojiUrl) + U(" です"));
    Click("PasteButton");
    EXPECT_EQ(ShownItems(), std::vector<QString>{U(EmojiUrlInList)});

    Find<QCheckBox>("MonitorCheck")->setChecked(true);
    QApplication::clipboard()->setText(U("次は ") + U(EmojiUrl));
    Form->ClipboardChanged();
    EXPECT_EQ(QApplication::clipboard()->text().trimmed(), U(EmojiUrlInList));
}

TEST_F(Utf8InputTest, MemosKeepEmojiAndKoreanOverARestartAndFittingMemosStayShiftJis)
{
    const QString beyond = U("買い物 🍣 と 한국어\n二行目");
    Open();
    Find<QPlainTextEdit>("MemoPad1Edit")->setPlainText(beyond);
    Find<QPlainTextEdit>("MemoPad2Edit")->setPlainText(U("買い物"));
    ASSERT_TRUE(Form->SaveBeforeQuitting());
    EXPECT_EQ(ReadFile("Memo1.txt"), "\xEF\xBB\xBF" + U("買い物 🍣 と 한국어\r\n二行目\r\n").toStdString());
    EXPECT_EQ(ReadFile("Memo2.txt"), "\x94\x83\x82\xA2\x95\xA8\r\n");
    Open();
    EXPECT_EQ(Find<QPlainTextEdit>("MemoPad1Edit")->toPlainText(), beyond);
    EXPECT_EQ(Find<QPlainTextEdit>("MemoPad2Edit")->toPlainText(), U("買い物"));
    // A memo written elsewhere in UTF-8 without the mark reads the same.
    WriteFile("Memo1.txt", U("🍣\r\n한국어\r\n").toStdString());
    Open();
    EXPECT_EQ(Find<QPlainTextEdit>("MemoPad1Edit")->toPlainText(), U("🍣\n한국어"));
}
