#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>
#include <thread>
#include <vector>

#include "sorting/ParallelWork.h"

namespace {

using namespace Sorting;

TEST(RunInParallel, RunsEveryPartAndPassesOnAFailureAfterAllHaveEnded)
{
    std::vector<int> ran(4);
    EXPECT_THROW(RunInParallel(4,
                               [&](std::size_t part) {
                                   ran[part] = 1;
                                   if (part == 2)
                                       throw std::runtime_error("worker failed");
                               }),
                 std::runtime_error);
    EXPECT_EQ(ran, (std::vector<int>{1, 1, 1, 1}));
}

TEST(ShareStart, SharesCoverEveryElementOnceInNearlyEqualParts)
{
    const struct {
        std::size_t Elements, Workers;
    } cases[] = {{0, 1}, {1, 3}, {7, 7}, {10, 3}, {100, 64}, {1000003, 12}};
    for (const auto& c : cases) {
        EXPECT_EQ(ShareStart(c.Elements, c.Workers, 0), 0u);
        EXPECT_EQ(ShareStart(c.Elements, c.Workers, c.Workers), c.Elements);
        for (std::size_t w = 0; w < c.Workers; ++w) {
            const std::size_t size =
                ShareStart(c.Elements, c.Workers, w + 1) - ShareStart(c.Elements, c.Workers, w);
            EXPECT_LE(size, c.Elements / c.Workers + 1) << c.Elements << " over " << c.Workers;
            EXPECT_GE(size, c.Elements / c.Workers) << c.Elements << " over " << c.Workers;
        }
    }
}

TEST(WorkerCount, OneWorkerForFewElementsAndNeverMoreThanTheCores)
{
    EXPECT_EQ(WorkerCount(0), 1u);
    EXPECT_EQ(WorkerCount(1000), 1u);
    const std::size_t many = WorkerCount(std::size_t{1} << 30);
    EXPECT_GE(many, 1u);
    EXPECT_LE(many, std::max(1u, std::thread::hardware_concurrency()));
}

}  // namespace
