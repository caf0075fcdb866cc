// Clipboard monitoring on a real X server, driven by other processes.
#include <gtest/gtest.h>

#include "DesktopSession.h"

namespace {

const QByteArray MonitorOn = "[SYSTEM]\r\nCB=1\r\n";

QByteArray Utf8(const char* text)
{
    return QByteArray(text);
}

bool ClipboardBecomes(const QByteArray& expected, int timeoutMs = 5000)
{
    return WaitFor([&] { return XClipboard::Text() == expected; }, timeoutMs);
}

// Copies a URL text and waits for its reduction: proves that every earlier
// clipboard change has been dealt with.
void ExpectMonitorAlive(const char* url)
{
    XClipboard::SetText(QByteArray("確認 ") + url + " です");
    EXPECT_TRUE(ClipboardBecomes(url)) << "monitor did not react to " << url;
}

QByteArray TinyPng()
{
    return QByteArray::fromBase64(
        "iVBORw0KGgoAAAANSUhEUgAAAAEAAAABCAYAAAAfFcSJAAAADUlEQVR42mP8z8BQDwAEhQGAhKmMIQAAAABJRU5ErkJggg==");
}

}  // namespace

TEST(Monitoring, CopiedTextIsReducedToItsUrlAndTheListIsEmptied)
{
    TProgramUnderTest program(MonitorOn, "http://kept/before\r\n");
    ASSERT_TRUE(program.Start());

    XClipboard::SetText(Utf8("ここを見て→http://example.com/a.zip と書いてありました"));
    EXPECT_TRUE(ClipboardBecomes("http://example.com/a.zip"));

    XClipboard::SetText(Utf8("一行目 http://a.example/1\n二行目 www.b.example/2 です"));
    EXPECT_TRUE(ClipboardBecomes("http://a.example/1\r\nhttp://www.b.example/2"));

    ASSERT_TRUE(program.Close());
    EXPECT_EQ(program.File("List.txt"), QByteArray());
}

TEST(Monitoring, TextWithoutUrlsAndPicturesAreLeftAlone)
{
    TProgramUnderTest program(MonitorOn);
    ASSERT_TRUE(program.Start());

    XClipboard::SetText(Utf8("URLのない普通の文章です"));
    Pause(800);
    EXPECT_EQ(XClipboard::Text(), Utf8("URLのない普通の文章です"));
    ExpectMonitorAlive("http://after.text/");

    XClipboard::SetImage(TinyPng());
    Pause(800);
    EXPECT_TRUE(XClipboard::Targets().contains("image/png"));
    ExpectMonitorAlive("http://after.picture/");
    ASSERT_TRUE(program.Close());
}

TEST(Monitoring, NothingHappensWithTheOptionOff)
{
    TProgramUnderTest program("[SYSTEM]\r\nCB=0\r\n", "http://kept/\r\n");
    ASSERT_TRUE(program.Start());

    XClipboard::SetText(Utf8("見て http://example.com/off です"));
    Pause(1000);
    EXPECT_EQ(XClipboard::Text(), Utf8("見て http://example.com/off です"));
    ASSERT_TRUE(program.Close());
    EXPECT_EQ(program.File("List.txt"), QByteArray("http://kept/\r\n"));
}

TEST(Monitoring, TwoHundredCopiesInARowAreEachReducedOnce)
{
    TProgramUnderTest program(MonitorOn);
    ASSERT_TRUE(program.Start());

    int reduced = 0;
    for (int i = 0; i < 200; ++i) {
        const QByteArray url = "http://example.com/page" + QByteArray::number(i) + ".html";
        XClipboard::SetText("コピー" + QByteArray::number(i) + "回目 " + url + " おわり");
        if (!ClipboardBecomes(url))
            break;
        ++reduced;
    }
    EXPECT_EQ(reduced, 200);

    // No echo of its own writes: the last result stays put.
    Pause(500);
    EXPECT_EQ(XClipboard::Text(), QByteArray("http://example.com/page199.html"));
    EXPECT_FALSE(program.VisibleWindow().isEmpty());
    ASSERT_TRUE(program.Close());
}

TEST(Monitoring, TheProgramsOwnCopiesAreNeverRewritten)
{
    TProgramUnderTest program(MonitorOn, "abc\r\nhttp://x/1\r\n");
    ASSERT_TRUE(program.Start());

    // "全ﾘｽﾄｺﾋﾟｰ" in the export row: the list, text without URLs included.
    program.ClickAt(320, 372);
    EXPECT_TRUE(ClipboardBecomes("abc\r\nhttp://x/1"));
    Pause(800);
    EXPECT_EQ(XClipboard::Text(), QByteArray("abc\r\nhttp://x/1"));

    // A double click on the list's first row copies that item alone.
    program.ClickAt(40, 60, 1, 2);
    EXPECT_TRUE(ClipboardBecomes("abc"));
    Pause(800);
    EXPECT_EQ(XClipboard::Text(), QByteArray("abc"));

    ASSERT_TRUE(program.Close());
    EXPECT_EQ(program.File("List.txt"), QByteArray("abc\r\nhttp://x/1\r\n"));
}
