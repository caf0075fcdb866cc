#include <gtest/gtest.h>

#include "FakeServices.h"
#include "TestFiles.h"
#include "Workspace.h"

namespace {

// Not a timing assertion: a quadratic step would make these runs take
// minutes instead of about a second.
TEST(Scale, LargeListOperationsStayLinear)
{
    TFakeServices services;
    TWorkspace workspace(services, "/nonexistent/");
    TUrlList& list = workspace.List;
    const std::size_t count = 200000;
    for (std::size_t i = 0; i < count; ++i)
        list.Append("http://host" + std::to_string(i % 50000) + ".example/page/" + std::to_string(i % 100000));

    workspace.Button11Click();
    EXPECT_EQ(list.Count(), 100000u);

    workspace.Button14Click();
    workspace.Options.SEARCH = "/page/1";
    workspace.Button16Click();
    const std::size_t matches = list.SelectedCount();
    workspace.Button4Click();
    EXPECT_EQ(list.Count(), 100000u - matches);
    EXPECT_EQ(list.SelectedCount(), 0u);
}

}  // namespace
