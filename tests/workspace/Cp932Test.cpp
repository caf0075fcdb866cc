#include <gtest/gtest.h>

#include <QStringDecoder>

#include "WorkspaceFixture.h"

namespace {

TEST(Cp932, RoundTripsControlsKanjiAndHalfWidthKana)
{
    // The platform converter remaps 0x1A, 0x1C and 0x7F; they must survive.
    const std::string bytes = std::string("a\x1a\x1c\x7f\\~", 6) + "\x95\x5c\xb1\xdf\x81\x60";
    EXPECT_EQ(FromCp932(bytes), Utf8("a\x1a\x1c\x7f\\~表ｱﾟ～"));
    EXPECT_EQ(ToCp932(FromCp932(bytes)), bytes);
}

TEST(Cp932, UnmappableTextIsPercentEncodedAndNothingAfterItIsLost)
{
    EXPECT_EQ(ToCp932(Utf8("aé😀b表c")), "a%C3%A9%F0%9F%98%80b\x95\x5c"
                                        "c");
    EXPECT_EQ(ToCp932(QStringLiteral("x") + QChar(0xD800) + QStringLiteral("y")), "x%EF%BF%BDy");
}

TEST(Cp932, TheTableAgreesWithTheSystemsConverterOnEveryPair)
{
    QStringDecoder system("windows-31j", QStringConverter::Flag::Stateless);
    for (int lead :
         {0x81, 0x82, 0x83, 0x84, 0x87, 0x88, 0x89, 0x98, 0x9F, 0xE0, 0xEA, 0xED, 0xEE, 0xFA, 0xFC}) {
        for (int trail = 0x40; trail <= 0xFC; ++trail) {
            const std::string pair{static_cast<char>(lead), static_cast<char>(trail)};
            const QString theirs = system.decode(QByteArray::fromStdString(pair));
            if (trail == 0x7F || theirs.size() != 1 || theirs[0] == QChar(0x1A) || theirs[0] == QChar(0xFFFD))
                continue;
            ASSERT_EQ(FromCp932(pair), theirs) << std::hex << lead << " " << trail;
        }
    }
}

TEST(Cp932, MemosThatDoNotFitAreKeptAsUtf8)
{
    const struct {
        QString Text;
        std::string Bytes;
    } cases[] = {
        {Utf8("買い物\nメモ"), "\x94\x83\x82\xA2\x95\xA8\r\n\x83\x81\x83\x82"},
        {Utf8("買い物 🍣 と 한국어\n"), "\xEF\xBB\xBF" + Utf8("買い物 🍣 と 한국어\r\n").toStdString()},
        {Utf8("a〜b"), "\xEF\xBB\xBF" + Utf8("a〜b").toStdString()},  // no look-alike of ～
        {QString(), ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(MemoBytesFromText(c.Text), c.Bytes);
        EXPECT_EQ(MemoTextFromBytes(c.Bytes), c.Text);
    }
    // Bytes in a UTF-8 memo that are not UTF-8 read as Shift_JIS.
    EXPECT_EQ(MemoTextFromBytes("\xEF\xBB\xBF\xF0\x9F\x8D\xA3\x93\xFA"), Utf8("🍣日"));
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
