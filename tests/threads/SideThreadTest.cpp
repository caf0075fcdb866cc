#include <gtest/gtest.h>

#include <atomic>
#include <vector>

#include <sched.h>

#include "threads/SideThread.h"

namespace {

using Threads::TSideThread;

TEST(SideThread, EveryThreadRunsOnceAndIsJoinedOnceWhateverMovesIt)
{
    std::atomic<int> ran = 0;
    {
        std::vector<TSideThread> threads;  // grows, so the threads are moved
        for (int i = 0; i < 20; ++i)
            threads.emplace_back([&] { ++ran; });
        threads.front().Join();
        threads.front().Join();
    }
    EXPECT_EQ(ran, 20);
}

#if defined(__linux__)
// Started away from its creator's core, a thread must still be free to run
// on every core its creator may use: else two threads could be kept apart
// from a core the system wants them on.
TEST(SideThread, MayUseEveryCoreItsCreatorMay)
{
    cpu_set_t creator;
    ASSERT_EQ(sched_getaffinity(0, sizeof creator, &creator), 0);
    cpu_set_t seen;
    CPU_ZERO(&seen);
    TSideThread([&] { sched_getaffinity(0, sizeof seen, &seen); }).Join();
    EXPECT_TRUE(CPU_EQUAL(&seen, &creator));
}
#endif

}  // namespace
