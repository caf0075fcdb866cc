#pragma once
// A thread for work beside the calling thread's, started on another core.
//
// The system queues a new thread on its creator's core. While the creator
// keeps that core busy, the new thread waits there until the scheduler
// balances the load: on a machine whose other cores sleep, up to a
// scheduler tick, some milliseconds, which is as long as a whole extraction
// of a 20 MB file. A side thread is therefore started on the cores the
// caller may use other than its own, and may go to any of them once it runs.
#include <functional>

#include <pthread.h>

namespace Threads {

class TSideThread {
public:
    // Starts work, which must not throw; throws std::system_error when the
    // system refuses a thread.
    explicit TSideThread(std::function<void()> work);
    TSideThread(TSideThread&& other) noexcept;
    TSideThread(const TSideThread&) = delete;
    TSideThread& operator=(const TSideThread&) = delete;
    TSideThread& operator=(TSideThread&&) = delete;
    // Waits for the work to end.
    ~TSideThread();
    void Join();

private:
    pthread_t FThread{};
    bool FJoinable = false;
};

}  // namespace Threads
