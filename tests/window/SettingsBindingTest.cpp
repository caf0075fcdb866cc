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
        Form->SpinEdit1->Editor()->selectAll();
        if (text.isEmpty())
            QTest::keyClick(Form->SpinEdit1->Editor(), Qt::Key_Backspace);
        else
            QTest::keyClicks(Form->SpinEdit1->Editor(), text);
    }
    void LeaveDigitField()
    {
        QFocusEvent leave(QEvent::FocusOut, Qt::TabFocusReason);
        QCoreApplication::sendEvent(Form->SpinEdit1->Editor(), &leave);
    }
};

TEST_F(SettingsBindingTest, FirstStartShowsTheDefaults)
{
    Open();
    EXPECT_EQ(Form->Edit1->text(), "URL-");
    EXPECT_EQ(Form->SpinEdit1->Text(), "4");
    EXPECT_TRUE(Form->CheckBox1->isChecked());
    EXPECT_TRUE(Form->CheckBox3->isChecked());
    EXPECT_FALSE(Form->CheckBox4->isChecked());
    EXPECT_TRUE(Form->Workspace().ClipIgnore);
    EXPECT_EQ(Form->Label3->text(), "URL-0001.url");
    EXPECT_EQ(Form->Edit4->text(), "http://");
    EXPECT_EQ(Form->StatusText->text(), "");
}

TEST_F(SettingsBindingTest, EverySettingSurvivesARestart)
{
    Open();
    Form->Edit1->setText(U("名前-"));
    Form->SpinEdit1->SetValue(2);
    for (QCheckBox* box :
         {Form->CheckBox1, Form->CheckBox2, Form->CheckBox3, Form->CheckBox4, Form->CheckBox5,
          Form->CheckBox6, Form->CheckBox7, Form->CheckBox8, Form->CheckBox9})
        box->toggle();
    Form->Edit3->setText("before");
    Form->Edit5->setText("after");
    Form->Edit6->setText("search");
    Form->Edit2->setText("KKK");
    Form->Memo1->setPlainText(U("一行目\n二行目"));
    Form->Memo2->setPlainText("pad two");
    AddItems({"http://kept.example/", ""});
    ASSERT_TRUE(Form->FormClose());
    EXPECT_NE(ReadFile("Linkrake.ini").find("NUMBER=2"), std::string::npos);
    EXPECT_EQ(ReadFile("Memo2.txt"), "pad two\r\n");

    Open();
    EXPECT_EQ(Form->Edit1->text(), U("名前-"));
    EXPECT_EQ(Form->SpinEdit1->Text(), "2");
    EXPECT_FALSE(Form->CheckBox1->isChecked());
    EXPECT_TRUE(Form->CheckBox2->isChecked());
    EXPECT_FALSE(Form->CheckBox3->isChecked());
    EXPECT_TRUE(Form->CheckBox4->isChecked());
    EXPECT_FALSE(Form->Workspace().ClipIgnore);
    EXPECT_TRUE(Form->CheckBox5->isChecked() && Form->CheckBox6->isChecked() && Form->CheckBox7->isChecked()
                && Form->CheckBox8->isChecked() && Form->CheckBox9->isChecked());
    EXPECT_EQ(Form->Edit3->text(), "before");
    EXPECT_EQ(Form->Edit5->text(), "after");
    EXPECT_EQ(Form->Edit6->text(), "search");
    EXPECT_EQ(Form->Edit2->text(), "KKK");
    EXPECT_EQ(Form->Memo1->toPlainText(), U("一行目\n二行目"));
    EXPECT_EQ(ShownItems(), (std::vector<QString>{"http://kept.example/", ""}));
    EXPECT_EQ(Form->Label3->text(), U("名前-01.url"));
}

TEST_F(SettingsBindingTest, ClosingTheWindowSavesAndAFailedSaveKeepsItOpen)
{
    OpenShown();
    QDir(Dir.path()).mkdir("Linkrake.ini");  // the settings cannot be written
    Form->close();
    EXPECT_TRUE(Form->isVisible());
    EXPECT_EQ(Services.Errors.size(), 1);

    QDir(Dir.path()).rmdir("Linkrake.ini");
    Form->close();
    EXPECT_FALSE(Form->isVisible());
    EXPECT_FALSE(ReadFile("Linkrake.ini").empty());
}

TEST_F(SettingsBindingTest, StoredDigitCountsAreBroughtIntoRange)
{
    WriteFile("Linkrake.ini", "[SYSTEM]\r\nNUMBER=9\r\n");
    Open();
    EXPECT_EQ(Form->SpinEdit1->Text(), "5");
    WriteFile("Linkrake.ini", "[SYSTEM]\r\nNUMBER=0\r\n");
    Open();
    EXPECT_EQ(Form->SpinEdit1->Text(), "1");
}

TEST_F(SettingsBindingTest, AnUnchangedStoredPrefixLeavesTheDesignSample)
{
    WriteFile("Linkrake.ini", "[SYSTEM]\r\nPREFIX=\r\nNUMBER=4\r\n");
    Open();
    EXPECT_EQ(Form->Label3->text(), U(DesignSample));
    Form->Edit1->setText("A");
    EXPECT_EQ(Form->Label3->text(), "A0001.url");
}

TEST_F(SettingsBindingTest, TheSampleFollowsThePrefixAndTheDigitField)
{
    Open();
    Form->Edit1->clear();
    EXPECT_EQ(Form->Label3->text(), "0001.url");
    Form->Edit1->setText("URL-");

    TypeDigit("");  // deleting the digit puts 1 back at once
    EXPECT_EQ(Form->SpinEdit1->Text(), "1");
    EXPECT_EQ(Form->Label3->text(), "URL-1.url");

    TypeDigit("9");
    EXPECT_EQ(Form->Label3->text(), "URL-000000001.url");
    LeaveDigitField();
    EXPECT_EQ(Form->SpinEdit1->Text(), "5");
    EXPECT_EQ(Form->Label3->text(), "URL-00001.url");

    TypeDigit("-");
    EXPECT_EQ(Form->Label3->text(), "URL-1.url");
    LeaveDigitField();
    EXPECT_EQ(Form->SpinEdit1->Text(), "-");
    EXPECT_EQ(Form->OptionsFromControls().NUMBER, 1);
}

TEST_F(SettingsBindingTest, APrefixThatLooksLikeMarkupIsShownAsTyped)
{
    Open();
    Form->Edit1->setText("<b>x");
    EXPECT_EQ(Form->Label3->text(), "<b>x0001.url");
    // Drawn as markup, "<b>" would vanish and the label would be narrower.
    EXPECT_GE(Form->Label3->width(), Form->Label3->fontMetrics().horizontalAdvance("<b>x0001.url"));
}

TEST_F(SettingsBindingTest, TheMonitoringBoxSetsTheIgnoreFlag)
{
    Open();
    Form->CheckBox4->setChecked(true);
    EXPECT_FALSE(Form->Workspace().ClipIgnore);
    Form->CheckBox4->setChecked(false);
    EXPECT_TRUE(Form->Workspace().ClipIgnore);
}
