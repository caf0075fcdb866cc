// The controls are the live options: loaded into them at start, read from
// them at close, and the shortcut name sample drawn from them.
#include <QCheckBox>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>

#include "WindowFixture.h"
#include "window/DigitSpinField.h"

namespace {
const char* const DesignSample = "ここにはｻﾝﾌﾟﾙが表示されます。";
}  // namespace

class SettingsBindingTest : public TWindowTest {
protected:
    void TypeDigit(const QString& text)
    {
        Find<TDigitSpinField>("DigitCountSpin")->Editor()->selectAll();
        if (text.isEmpty())
            QTest::keyClick(Find<TDigitSpinField>("DigitCountSpin")->Editor(), Qt::Key_Backspace);
        else
            QTest::keyClicks(Find<TDigitSpinField>("DigitCountSpin")->Editor(), text);
    }
    void LeaveDigitField()
    {
        QFocusEvent leave(QEvent::FocusOut, Qt::TabFocusReason);
        QCoreApplication::sendEvent(Find<TDigitSpinField>("DigitCountSpin")->Editor(), &leave);
    }
};

TEST_F(SettingsBindingTest, FirstStartShowsTheDefaults)
{
    Open();
    EXPECT_EQ(Find<QLineEdit>("PrefixEdit")->text(), "URL-");
    EXPECT_EQ(Find<TDigitSpinField>("DigitCountSpin")->Text(), "4");
    EXPECT_TRUE(Find<QCheckBox>("WwwRuleCheck")->isChecked());
    EXPECT_TRUE(Find<QCheckBox>("SchemeRuleCheck")->isChecked());
    EXPECT_FALSE(Find<QCheckBox>("MonitorCheck")->isChecked());
    EXPECT_TRUE(Find<QCheckBox>("LinkTargetsCheck")->isChecked());
    EXPECT_FALSE(Find<QCheckBox>("Utf8ListCheck")->isChecked());
    EXPECT_EQ(Form->Workspace().Monitoring.State(), TClipboardMonitoring::TState::Off);
    EXPECT_EQ(Find<QLabel>("SampleNameLabel")->text(), "URL-0001.url");
    EXPECT_EQ(Find<QLineEdit>("UrlEntryEdit")->text(), "http://");
    EXPECT_EQ(Find<QLabel>("StatusText")->text(), "");
}

TEST_F(SettingsBindingTest, EverySettingSurvivesARestart)
{
    Open();
    Find<QLineEdit>("PrefixEdit")->setText(U("名前-"));
    Find<TDigitSpinField>("DigitCountSpin")->SetValue(2);
    for (QCheckBox* box :
         {Find<QCheckBox>("WwwRuleCheck"), Find<QCheckBox>("KanaConversionCheck"),
          Find<QCheckBox>("SchemeRuleCheck"), Find<QCheckBox>("MonitorCheck"),
          Find<QCheckBox>("RangeExpansionCheck"), Find<QCheckBox>("LinkPageWithoutDialogCheck"),
          Find<QCheckBox>("ParentPathRuleCheck"), Find<QCheckBox>("RootPathRuleCheck"),
          Find<QCheckBox>("SlashDotRuleCheck"), Find<QCheckBox>("LinkTargetsCheck"),
          Find<QCheckBox>("Utf8ListCheck")})
        box->toggle();
    Find<QLineEdit>("FindEdit")->setText("before");
    Find<QLineEdit>("ReplaceWithEdit")->setText("after");
    Find<QLineEdit>("SearchEdit")->setText("search");
    Find<QLineEdit>("MemoLineEdit")->setText("KKK");
    Find<QPlainTextEdit>("MemoPad1Edit")->setPlainText(U("一行目\n二行目"));
    Find<QPlainTextEdit>("MemoPad2Edit")->setPlainText("pad two");
    AddItems({"http://kept.example/", ""});
    ASSERT_TRUE(Form->SaveBeforeQuitting());
    EXPECT_NE(ReadFile("Linkrake.ini").find("NUMBER=2"), std::string::npos);
    EXPECT_EQ(ReadFile("Memo2.txt"), "pad two\r\n");

    Open();
    EXPECT_EQ(Find<QLineEdit>("PrefixEdit")->text(), U("名前-"));
    EXPECT_EQ(Find<TDigitSpinField>("DigitCountSpin")->Text(), "2");
    EXPECT_FALSE(Find<QCheckBox>("WwwRuleCheck")->isChecked());
    EXPECT_TRUE(Find<QCheckBox>("KanaConversionCheck")->isChecked());
    EXPECT_FALSE(Find<QCheckBox>("SchemeRuleCheck")->isChecked());
    EXPECT_TRUE(Find<QCheckBox>("MonitorCheck")->isChecked());
    EXPECT_TRUE(Form->Workspace().Monitoring.Watching());
    EXPECT_TRUE(Find<QCheckBox>("RangeExpansionCheck")->isChecked()
                && Find<QCheckBox>("LinkPageWithoutDialogCheck")->isChecked()
                && Find<QCheckBox>("ParentPathRuleCheck")->isChecked()
                && Find<QCheckBox>("RootPathRuleCheck")->isChecked()
                && Find<QCheckBox>("SlashDotRuleCheck")->isChecked()
                && Find<QCheckBox>("Utf8ListCheck")->isChecked());
    EXPECT_FALSE(Find<QCheckBox>("LinkTargetsCheck")->isChecked());
    EXPECT_EQ(Find<QLineEdit>("FindEdit")->text(), "before");
    EXPECT_EQ(Find<QLineEdit>("ReplaceWithEdit")->text(), "after");
    EXPECT_EQ(Find<QLineEdit>("SearchEdit")->text(), "search");
    EXPECT_EQ(Find<QLineEdit>("MemoLineEdit")->text(), "KKK");
    EXPECT_EQ(Find<QPlainTextEdit>("MemoPad1Edit")->toPlainText(), U("一行目\n二行目"));
    EXPECT_EQ(ShownItems(), (std::vector<QString>{"http://kept.example/", ""}));
    EXPECT_EQ(Find<QLabel>("SampleNameLabel")->text(), U("名前-01.url"));
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
    EXPECT_EQ(Find<TDigitSpinField>("DigitCountSpin")->Text(), "5");
    WriteFile("Linkrake.ini", "[SYSTEM]\r\nNUMBER=0\r\n");
    Open();
    EXPECT_EQ(Find<TDigitSpinField>("DigitCountSpin")->Text(), "1");
}

TEST_F(SettingsBindingTest, AnUnchangedStoredPrefixLeavesTheDesignSample)
{
    WriteFile("Linkrake.ini", "[SYSTEM]\r\nPREFIX=\r\nNUMBER=4\r\n");
    Open();
    EXPECT_EQ(Find<QLabel>("SampleNameLabel")->text(), U(DesignSample));
    Find<QLineEdit>("PrefixEdit")->setText("A");
    EXPECT_EQ(Find<QLabel>("SampleNameLabel")->text(), "A0001.url");
}

TEST_F(SettingsBindingTest, TheSampleFollowsThePrefixAndTheDigitField)
{
    Open();
    Find<QLineEdit>("PrefixEdit")->clear();
    EXPECT_EQ(Find<QLabel>("SampleNameLabel")->text(), "0001.url");
    Find<QLineEdit>("PrefixEdit")->setText("URL-");

    TypeDigit("");  // deleting the digit puts 1 back at once
    EXPECT_EQ(Find<TDigitSpinField>("DigitCountSpin")->Text(), "1");
    EXPECT_EQ(Find<QLabel>("SampleNameLabel")->text(), "URL-1.url");

    TypeDigit("9");
    EXPECT_EQ(Find<QLabel>("SampleNameLabel")->text(), "URL-000000001.url");
    LeaveDigitField();
    EXPECT_EQ(Find<TDigitSpinField>("DigitCountSpin")->Text(), "5");
    EXPECT_EQ(Find<QLabel>("SampleNameLabel")->text(), "URL-00001.url");

    TypeDigit("-");
    EXPECT_EQ(Find<QLabel>("SampleNameLabel")->text(), "URL-1.url");
    LeaveDigitField();
    EXPECT_EQ(Find<TDigitSpinField>("DigitCountSpin")->Text(), "-");
    EXPECT_EQ(Form->Workspace().Options.ShortcutDigits, 1);
}

TEST_F(SettingsBindingTest, APrefixThatLooksLikeMarkupIsShownAsTyped)
{
    Open();
    Find<QLineEdit>("PrefixEdit")->setText("<b>x");
    EXPECT_EQ(Find<QLabel>("SampleNameLabel")->text(), "<b>x0001.url");
    // Drawn as markup, "<b>" would vanish and the label would be narrower.
    EXPECT_GE(Find<QLabel>("SampleNameLabel")->width(),
              Find<QLabel>("SampleNameLabel")->fontMetrics().horizontalAdvance("<b>x0001.url"));
}

TEST_F(SettingsBindingTest, TheMonitoringBoxSwitchesMonitoring)
{
    Open();
    Find<QCheckBox>("MonitorCheck")->setChecked(true);
    EXPECT_TRUE(Form->Workspace().Monitoring.Watching());
    Find<QCheckBox>("MonitorCheck")->setChecked(false);
    EXPECT_EQ(Form->Workspace().Monitoring.State(), TClipboardMonitoring::TState::Off);
}
