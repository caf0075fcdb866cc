#include <gtest/gtest.h>

#include <QFocusEvent>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

#include "window/DigitSpinField.h"

namespace {

class DigitFieldTest : public ::testing::Test {
protected:
    TDigitSpinField Field;
    QLineEdit* Editor = Field.Editor();

    void Type(const QString& text)
    {
        Editor->selectAll();
        QTest::keyClicks(Editor, text);
    }
    void Key(Qt::Key key) { QTest::keyClick(Editor, key); }
    void LeaveField(Qt::FocusReason reason = Qt::TabFocusReason)
    {
        QFocusEvent leave(QEvent::FocusOut, reason);
        QCoreApplication::sendEvent(Editor, &leave);
    }
};

}  // namespace

TEST_F(DigitFieldTest, HoldsFourAtStartAndClampsValuesSetByCode)
{
    EXPECT_EQ(Field.Text(), "4");
    Field.SetValue(9);
    EXPECT_EQ(Field.Text(), "5");
    Field.SetValue(0);
    EXPECT_EQ(Field.Text(), "1");
    Field.SetValue(-7);
    EXPECT_EQ(Field.Value(), 1);
}

TEST_F(DigitFieldTest, RaisesTextChangedOnlyOnARealChange)
{
    QSignalSpy changes(&Field, &TDigitSpinField::TextChanged);
    Field.SetValue(4);
    EXPECT_EQ(changes.count(), 0);
    Field.SetValue(3);
    EXPECT_EQ(changes.count(), 1);
}

TEST_F(DigitFieldTest, TypingTakesDigitsSignsAndTheSeparatorOnly)
{
    Type("a");
    EXPECT_EQ(Field.Text(), "4");
    Key(Qt::Key_Return);
    EXPECT_EQ(Field.Text(), "4");
    Type("9");
    EXPECT_EQ(Field.Text(), "9");
    EXPECT_EQ(Field.Value(), 9);  // not checked while the field has the focus
    Type("-");
    EXPECT_EQ(Field.Text(), "-");
    EXPECT_EQ(Field.Value(), 1);  // not a number reads as the minimum
    Type("+");
    EXPECT_EQ(Field.Text(), "+");
    Type("0");
    EXPECT_EQ(Field.Value(), 0);
}

TEST_F(DigitFieldTest, HoldsOneCharacterEvenWhenPasted)
{
    Field.Editor()->selectAll();
    Field.Editor()->insert("345");
    EXPECT_EQ(Field.Text().size(), 1);
}

TEST_F(DigitFieldTest, ArrowsAndUpDownKeysStepWithinTheRange)
{
    Key(Qt::Key_Up);
    EXPECT_EQ(Field.Text(), "5");
    Key(Qt::Key_Up);
    EXPECT_EQ(Field.Text(), "5");
    Type("9");
    Key(Qt::Key_Down);
    EXPECT_EQ(Field.Text(), "5");  // 9 - 1 brought into range
    Type("-");
    Key(Qt::Key_Up);
    EXPECT_EQ(Field.Text(), "2");  // "-" reads as 1
    Field.SetValue(1);
    Key(Qt::Key_Down);
    EXPECT_EQ(Field.Text(), "1");
}

TEST_F(DigitFieldTest, LeavingTheFieldBringsTypedDigitsIntoRange)
{
    Type("9");
    LeaveField();
    EXPECT_EQ(Field.Text(), "5");
    Type("0");
    LeaveField();
    EXPECT_EQ(Field.Text(), "1");
    Type("-");
    LeaveField();
    EXPECT_EQ(Field.Text(), "-");  // reads as 1, which is in range
    Type("3");
    LeaveField();
    EXPECT_EQ(Field.Text(), "3");
}

TEST_F(DigitFieldTest, AContextMenuOrAnotherWindowDoesNotLeaveTheField)
{
    Type("9");
    LeaveField(Qt::PopupFocusReason);
    LeaveField(Qt::ActiveWindowFocusReason);
    EXPECT_EQ(Field.Value(), 9);
    LeaveField(Qt::MouseFocusReason);
    EXPECT_EQ(Field.Text(), "5");
}
