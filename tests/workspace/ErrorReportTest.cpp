#include <gtest/gtest.h>

#include "Errors.h"
#include "FakeServices.h"
#include "Workspace.h"

namespace {

TEST(DefaultErrorText, AppendsAPeriodOnlyAfterCharactersAboveIt)
{
    EXPECT_EQ(TWorkspace::DefaultErrorText(QString::fromUtf8("ファイルが見つかりません")),
              QString::fromUtf8("ファイルが見つかりません."));
    EXPECT_EQ(TWorkspace::DefaultErrorText("I/O error 9"), "I/O error 9.");
    EXPECT_EQ(TWorkspace::DefaultErrorText("done."), "done.");
    EXPECT_EQ(TWorkspace::DefaultErrorText("stop!"), "stop!");
    EXPECT_EQ(TWorkspace::DefaultErrorText("a-"), "a-");
    EXPECT_EQ(TWorkspace::DefaultErrorText(""), "");
}

TEST(Run, ReportsAnEscapingFailureAndNothingElse)
{
    TFakeServices services;
    TWorkspace workspace(services, "/nonexistent/");
    workspace.Run([] {});
    EXPECT_TRUE(services.Errors.isEmpty());
    workspace.Run([] { throw EFormatError("書式文字列が長すぎます"); });
    ASSERT_EQ(services.Errors.size(), 1);
    EXPECT_EQ(services.Errors[0], QString::fromUtf8("書式文字列が長すぎます."));
}

}  // namespace
