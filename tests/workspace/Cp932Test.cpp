#include <gtest/gtest.h>

#include "Cp932.h"

namespace {

QString Utf8(const char* text) { return QString::fromUtf8(text); }

TEST(Cp932, RoundTripsAsciiControlsKanjiAndHalfWidthKana)
{
    // 0x1A, 0x1C and 0x7F are remapped by the platform converter; they must
    // come back as the same bytes and as the same code points.
    const std::string bytes = std::string("a\x1a\x1c\x7f\\~", 6) + "\x95\x5c" "\xb1\xdf" "\x81\x60";
    const QString text = FromCp932(bytes);
    EXPECT_EQ(text, Utf8("a\x1a\x1c\x7f\\~表ｱﾟ～"));
    EXPECT_EQ(ToCp932(text), bytes);
}

TEST(Cp932, UnmappableCharactersBecomeQuestionMarksAndTheRestIsKept)
{
    EXPECT_EQ(ToCp932(Utf8("aé😀b表c")), "a??b\x95\x5c" "c");
    EXPECT_EQ(ToCp932(Utf8("😀")), "?");
    QString loneSurrogate = QStringLiteral("x");
    loneSurrogate += QChar(0xD800);
    loneSurrogate += QChar(u'y');
    EXPECT_EQ(ToCp932(loneSurrogate), "x?y");
}

TEST(Cp932, InvalidBytesDecodeToReplacementsWithoutLosingTheirNeighbours)
{
    const QString replacement(QChar(0xFFFD));
    EXPECT_EQ(FromCp932("ab\x95"), QStringLiteral("ab") + replacement);  // lead byte at the end
    EXPECT_EQ(FromCp932("\x80z\xa0\xfd"), replacement + u'z' + replacement + replacement);
    EXPECT_EQ(FromCp932("\x81 x"), replacement + QStringLiteral(" x"));  // lead byte before a non-trail byte
    const QString unassigned = FromCp932("\x85\x40" "z");
    ASSERT_FALSE(unassigned.isEmpty());
    EXPECT_EQ(unassigned.front(), QChar(0xFFFD));
    EXPECT_EQ(unassigned.back(), QChar(u'z'));
}

TEST(Cp932, EmptyTextStaysEmpty)
{
    EXPECT_TRUE(FromCp932("").isEmpty());
    EXPECT_TRUE(ToCp932(QString()).empty());
}

}  // namespace
