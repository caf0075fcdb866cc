#include <gtest/gtest.h>

#include "WorkspaceFixture.h"

namespace {

TEST(Cp932, RoundTripsControlsKanjiAndHalfWidthKana)
{
    // The platform converter remaps 0x1A, 0x1C and 0x7F; they must survive.
    const std::string bytes = std::string("a\x1a\x1c\x7f\\~", 6) + "\x95\x5c\xb1\xdf\x81\x60";
    EXPECT_EQ(FromCp932(bytes), Utf8("a\x1a\x1c\x7f\\~表ｱﾟ～"));
    EXPECT_EQ(ToCp932(FromCp932(bytes)), bytes);
}

TEST(Cp932, UnmappableTextBecomesQuestionMarksAndNothingAfterItIsLost)
{
    EXPECT_EQ(ToCp932(Utf8("aé😀b表c")), "a??b\x95\x5c"
                                        "c");
    EXPECT_EQ(ToCp932(QStringLiteral("x") + QChar(0xD800) + QStringLiteral("y")), "x?y");  // lone surrogate
}

TEST(Cp932, InvalidBytesDecodeToReplacementsKeepingTheirNeighbours)
{
    const QChar bad(0xFFFD);
    EXPECT_EQ(FromCp932("ab\x95"), QStringLiteral("ab") + bad);  // lead byte at the end
    EXPECT_EQ(FromCp932("\x80z\xa0\x81 x"), bad + QStringLiteral("z") + bad + bad + QStringLiteral(" x"));
    EXPECT_TRUE(FromCp932("\x85\x40z").startsWith(bad));  // unassigned pair
}

TEST(DefaultErrorText, AppendsAPeriodOnlyAfterCharactersAboveIt)
{
    EXPECT_EQ(TWorkspace::DefaultErrorText(Utf8("書き込めません")), Utf8("書き込めません."));
    EXPECT_EQ(TWorkspace::DefaultErrorText("I/O 9"), "I/O 9.");
    EXPECT_EQ(TWorkspace::DefaultErrorText("done."), "done.");
    EXPECT_EQ(TWorkspace::DefaultErrorText("stop!"), "stop!");
    EXPECT_EQ(TWorkspace::DefaultErrorText(""), "");
}

}  // namespace
