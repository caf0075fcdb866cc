// The desktop's side of the workspace services: filters in the file
// dialog's form, and CP932 clipboard text through the toolkit's clipboard.
#include <gtest/gtest.h>

#include "Cp932.h"
#include "DesktopServices.h"

TEST(DesktopServices, FiltersBecomeTheDialogsLabelPatternPairs)
{
    EXPECT_EQ(QtFileFilter(QString::fromUtf8("ﾃｷｽﾄﾌｧｲﾙ(*.txt)|*.txt|すべてのﾌｧｲﾙ(*.*)|*.*")),
              QString::fromUtf8("ﾃｷｽﾄﾌｧｲﾙ(*.txt) (*.txt);;すべてのﾌｧｲﾙ(*.*) (*.*)"));
    EXPECT_EQ(QtFileFilter(QString()), QString());
}

TEST(DesktopServices, ClipboardTextGoesBothWaysAsCp932)
{
    TDesktopServices services(nullptr, {});
    const std::string text = ToCp932(QString::fromUtf8("日本語 http://x.example/ ｶﾅ\r\n2行目"));
    services.SetClipboardText(text);
    ASSERT_TRUE(services.ClipboardHasText());
    EXPECT_EQ(services.ClipboardText(), text);
}

TEST(DesktopServices, TheExtentResetReachesTheListControl)
{
    int resets = 0;
    TDesktopServices services(nullptr, [&] { ++resets; });
    services.ResetListHorizontalExtent();
    EXPECT_EQ(resets, 1);
}
