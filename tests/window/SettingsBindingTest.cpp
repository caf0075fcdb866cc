// The controls are the live options: loaded into them at start, read from
// them at close, and the shortcut name sample drawn from them.
#include <QCheckBox>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>

#include "DigitSpinField.h"
#include "WindowFixture.h"

namespace {
const char* const DesignSample = "ここにはｻﾝﾌﾟﾙが表示されます。";
}  // namespace

class SettingsBindingTest : public TWindowTest {
protected:
    void TypeDigit(const QString& text)
    {
        Form->DigitCountSpin->Editor()->selectAll();
        if (text.isEmpty())
            QTest::keyClick(Form->DigitCountSpin->Editor(), Qt::Key_Backspace);
        else
            QTest::keyClicks(Form->DigitCountSpin->Editor(), text);
    }
    void LeaveDigitField()
    {
        QFocusEvent leave(QEvent::FocusOut, Qt::TabFocusReason);
        QCoreApplication::sendEvent(Form->DigitCountSpin->Editor(), &leave);
    }
};

TEST_F(SettingsBindingTest, FirstStartShowsTheDefaults)
{
    Open();
    EXPECT_EQ(Form->PrefixEdit->text(), "URL-");
    EXPECT_EQ(Form->DigitCountSpin->Text(), "4");
    EXPECT_TRUE(Form->WwwRuleCheck->isChecked());
    EXPECT_TRUE(Form->SchemeRuleCheck->isChecked());
    EXPECT_FALSE(Form->MonitorCheck->isChecked());
    EXPECT_TRUE(Form->Workspace().ClipIgnore);
    EXPECT_EQ(Form->SampleNameLabel->text(), "URL-0001.url");
    EXPECT_EQ(Form->UrlEntryEdit->text(), "http://");
    EXPECT_EQ(Form->StatusText->text(), "");
}

TEST_F(SettingsBindingTest, EverySettingSurvivesARestart)
{
    Open();
    Form->PrefixEdit->setText(U("名前-"));
    Form->DigitCountSpin->SetValue(2);
    for (QCheckBox* box : {Form->WwwRuleCheck, Form->KanaConversionCheck, Form->SchemeRuleCheck,
                           Form->MonitorCheck, Form->RangeExpansionCheck, Form->LinkPageWithoutDialogCheck,
                           Form->ParentPathRuleCheck, Form->RootPathRuleCheck, Form->SlashDotRuleCheck})
        box->toggle();
    Form->FindEdit->setText("before");
    Form->ReplaceWithEdit->setText("after");
    Form->SearchEdit->setText("search");
    Form->MemoLineEdit->setText("KKK");
    Form->MemoPad1Edit->setPlainText(U("一行目\n二行目"));
    Form->MemoPad2Edit->setPlainText("pad two");
    AddItems({"http://kept.example/", ""});
    ASSERT_TRUE(Form->SaveBeforeQuitting());
    EXPECT_NE(ReadFile("Linkrake.ini").find("NUMBER=2"), std::string::npos);
    EXPECT_EQ(ReadFile("Memo2.txt"), "pad two\r\n");

    Open();
    EXPECT_EQ(Form->PrefixEdit->text(), U("名前-"));
    EXPECT_EQ(Form->DigitCountSpin->Text(), "2");
    EXPECT_FALSE(Form->WwwRuleCheck->isChecked());
    EXPECT_TRUE(Form->KanaConversionCheck->isChecked());
    EXPECT_FALSE(Form->SchemeRuleCheck->isChecked());
    EXPECT_TRUE(Form->MonitorCheck->isChecked());
    EXPECT_FALSE(Form->Workspace().ClipIgnore);
    EXPECT_TRUE(Form->RangeExpansionCheck->isChecked() && Form->LinkPageWithoutDialogCheck->isChecked()
                && Form->ParentPathRuleCheck->isChecked() && Form->RootPathRuleCheck->isChecked()
                && Form->SlashDotRuleCheck->isChecked());
    EXPECT_EQ(Form->FindEdit->text(), "before");
    EXPECT_EQ(Form->ReplaceWithEdit->text(), "after");
    EXPECT_EQ(Form->SearchEdit->text(), "search");
    EXPECT_EQ(Form->MemoLineEdit->text(), "KKK");
    EXPECT_EQ(Form->MemoPad1Edit->toPlainText(), U("一行目\n二行目"));
    EXPECT_EQ(ShownItems(), (std::vector<QString>{"http://kept.example/", ""}));
    EXPECT_EQ(Form->SampleNameLabel->text(), U("名前-01.url"));
}

TEST_F(SettingsBindingTest, ClosingTheWindowSavesAndAFailedSaveKeepsItOpen)
{
    OpenShown();
    QDir(Dir.path()).mkdir("Linkrake.ini");  // the settings cannot be written
    Services.ConfirmAnswer = false;          // "いいえ": do not end without them
    Form->close();
    EXPECT_TRUE(Form->isVisible());
    EXPECT_EQ(Services.Errors.size(), 1);
    EXPECT_EQ(Services.Questions.size(), 1);

    QDir(Dir.path()).rmdir("Linkrake.ini");
    Form->close();
    EXPECT_FALSE(Form->isVisible());
    EXPECT_FALSE(ReadFile("Linkrake.ini").empty());
}

TEST_F(SettingsBindingTest, StoredDigitCountsAreBroughtIntoRange)
{
    WriteFile("Linkrake.ini", "[SYSTEM]\r\nNUMBER=9\r\n");
    Open();
    EXPECT_EQ(Form->DigitCountSpin->Text(), "5");
    WriteFile("Linkrake.ini", "[SYSTEM]\r\nNUMBER=0\r\n");
    Open();
    EXPECT_EQ(Form->DigitCountSpin->Text(), "1");
}

TEST_F(SettingsBindingTest, AnUnchangedStoredPrefixLeavesTheDesignSample)
{
    WriteFile("Linkrake.ini", "[SYSTEM]\r\nPREFIX=\r\nNUMBER=4\r\n");
    Open();
    EXPECT_EQ(Form->SampleNameLabel->text(), U(DesignSample));
    Form->PrefixEdit->setText("A");
    EXPECT_EQ(Form->SampleNameLabel->text(), "A0001.url");
}

TEST_F(SettingsBindingTest, TheSampleFollowsThePrefixAndTheDigitField)
{
    Open();
    Form->PrefixEdit->clear();
    EXPECT_EQ(Form->SampleNameLabel->text(), "0001.url");
    Form->PrefixEdit->setText("URL-");

    TypeDigit("");  // deleting the digit puts 1 back at once
    EXPECT_EQ(Form->DigitCountSpin->Text(), "1");
    EXPECT_EQ(Form->SampleNameLabel->text(), "URL-1.url");

    TypeDigit("9");
    EXPECT_EQ(Form->SampleNameLabel->text(), "URL-000000001.url");
    LeaveDigitField();
    EXPECT_EQ(Form->DigitCountSpin->Text(), "5");
    EXPECT_EQ(Form->SampleNameLabel->text(), "URL-00001.url");

    TypeDigit("-");
    EXPECT_EQ(Form->SampleNameLabel->text(), "URL-1.url");
    LeaveDigitField();
    EXPECT_EQ(Form->DigitCountSpin->Text(), "-");
    EXPECT_EQ(Form->OptionsFromControls().ShortcutDigits, 1);
}

TEST_F(SettingsBindingTest, APrefixThatLooksLikeMarkupIsShownAsTyped)
{
    Open();
    Form->PrefixEdit->setText("<b>x");
    EXPECT_EQ(Form->SampleNameLabel->text(), "<b>x0001.url");
    // Drawn as markup, "<b>" would vanish and the label would be narrower.
    EXPECT_GE(Form->SampleNameLabel->width(),
              Form->SampleNameLabel->fontMetrics().horizontalAdvance("<b>x0001.url"));
}

TEST_F(SettingsBindingTest, TheMonitoringBoxSetsTheIgnoreFlag)
{
    Open();
    Form->MonitorCheck->setChecked(true);
    EXPECT_FALSE(Form->Workspace().ClipIgnore);
    Form->MonitorCheck->setChecked(false);
    EXPECT_TRUE(Form->Workspace().ClipIgnore);
}
