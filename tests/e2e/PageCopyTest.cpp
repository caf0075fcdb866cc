// A browser's copy of part of a page under clipboard monitoring, on a real
// X server: the targets of its links reach the rewritten clipboard.
#include <gtest/gtest.h>

#include "DesktopSession.h"

#ifndef LINKRAKE_PAGE_COPY
#error "LINKRAKE_PAGE_COPY must name the page-copying clipboard owner"
#endif

TEST(PageCopy, LinkTargetsReachTheRewrittenClipboard)
{
    TProgramUnderTest program("[SYSTEM]\r\nCB=1\r\n", "");
    ASSERT_TRUE(program.Start());
    TBackgroundProgram owner(
        QStringLiteral(LINKRAKE_PAGE_COPY),
        {QStringLiteral("News: the story, also http://plain.example/"),
         QStringLiteral("<meta charset=\"utf-8\"><p>News: <a href=\"story?id=7&amp;utm_x=1\">"
                        "the story</a>, also <a href=\"http://plain.example/\">"
                        "http://plain.example/</a>"),
         QStringLiteral("https://site.example/news/index.html")});
    EXPECT_TRUE(WaitFor([] {
        return XClipboard::Text() == "http://plain.example/\r\nhttp://site.example/news/story?id=7&utm_x=1";
    })) << XClipboard::Text().toStdString();
    ASSERT_TRUE(program.Close());
}
