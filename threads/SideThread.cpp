#include "SideThread.h"

#include <cerrno>
#include <memory>
#include <system_error>
#include <utility>

#include <sched.h>

namespace Threads {

namespace {

struct TStart {
    std::function<void()> Work;
#if defined(__linux__)
    cpu_set_t Allowed{};  // the creator's cores, for the thread once it runs
    bool Narrowed = false;
#endif
};

void* Run(void* raw) noexcept
{
    const std::unique_ptr<TStart> start(static_cast<TStart*>(raw));
#if defined(__linux__)
    if (start->Narrowed)
        pthread_setaffinity_np(pthread_self(), sizeof start->Allowed, &start->Allowed);
#endif
    start->Work();
    return nullptr;
}

// Asks for the thread to start on the caller's cores but its own, when
// there are others; any failure only leaves the choice to the system.
void StartElsewhere([[maybe_unused]] TStart& start, [[maybe_unused]] pthread_attr_t& attributes)
{
#if defined(__linux__)
    if (sched_getaffinity(0, sizeof start.Allowed, &start.Allowed) != 0)
        return;
    const int current = sched_getcpu();
    if (current < 0 || current >= CPU_SETSIZE || !CPU_ISSET(current, &start.Allowed))
        return;
    cpu_set_t others = start.Allowed;
    CPU_CLR(current, &others);
    start.Narrowed =
        CPU_COUNT(&others) > 0 && pthread_attr_setaffinity_np(&attributes, sizeof others, &others) == 0;
#endif
}

}  // namespace

TSideThread::TSideThread(std::function<void()> work)
{
    auto start = std::make_unique<TStart>();
    start->Work = std::move(work);
    pthread_attr_t attributes;
    if (const int failed = pthread_attr_init(&attributes))
        throw std::system_error(failed, std::generic_category(), "pthread_attr_init");
    StartElsewhere(*start, attributes);
    int failed = pthread_create(&FThread, &attributes, Run, start.get());
    pthread_attr_destroy(&attributes);
#if defined(__linux__)
    if (failed == EINVAL && start->Narrowed) {
        // Cores the system would not start it on (a container's limits
        // changed meanwhile): anywhere, then.
        start->Narrowed = false;
        failed = pthread_create(&FThread, nullptr, Run, start.get());
    }
#endif
    if (failed)
        throw std::system_error(failed, std::generic_category(), "pthread_create");
    start.release();  // the thread owns it now
    FJoinable = true;
}

TSideThread::TSideThread(TSideThread&& other) noexcept
    : FThread(other.FThread), FJoinable(std::exchange(other.FJoinable, false))
{ }

TSideThread::~TSideThread()
{
    Join();
}

void TSideThread::Join()
{
    if (std::exchange(FJoinable, false))
        pthread_join(FThread, nullptr);
}

}  // namespace Threads
