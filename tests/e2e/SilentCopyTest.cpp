// A clipboard owner that never answers, under monitoring: the program asks
// it once per copy, so it loses one time-out of the toolkit and no more,
// and keeps the list and leaves the clipboard as they are.
#include <gtest/gtest.h>

#include <QElapsedTimer>

#include <cstdio>

#include "DesktopSession.h"

#ifndef LINKRAKE_SILENT_COPY
#error "LINKRAKE_SILENT_COPY must name the silent clipboard owner"
#endif

TEST(SilentCopy, CostsOneTimeOutAndChangesNeitherTheListNorTheClipboard)
{
    TProgramUnderTest program("[SYSTEM]\r\nCB=1\r\n", "http://kept/\r\n");
    ASSERT_TRUE(program.Start());
    TBackgroundProgram owner(QStringLiteral(LINKRAKE_SILENT_COPY), {});
    QElapsedTimer clock;
    clock.start();
    Pause(500);
    // The close waits behind the copy: the time to the end is what the copy
    // held the program for (a time-out is 5 s).
    ASSERT_TRUE(program.Close());
    const double seconds = static_cast<double>(clock.elapsed()) / 1000;
    std::printf("a copy whose owner never answers held the program for %.1f s\n", seconds);
    EXPECT_LT(seconds, 9.0);
    EXPECT_TRUE(owner.Running()) << "the clipboard was taken from its owner";
    EXPECT_EQ(program.File(QStringLiteral("List.txt")), QByteArray("http://kept/\r\n"));
}
