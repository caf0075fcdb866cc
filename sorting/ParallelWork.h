#pragma once
// Plain threads for work that touches every element of a large array: each
// worker gets a share of the elements, the calling thread being one of them.
#include <algorithm>
#include <cstddef>
#include <exception>
#include <system_error>
#include <thread>
#include <vector>

#include "threads/SideThread.h"

namespace Sorting {

// How many workers pay off for this many elements: below a few ten thousand
// elements a thread costs more than it saves.
inline std::size_t WorkerCount(std::size_t elements)
{
    constexpr std::size_t ElementsPerWorker = std::size_t{1} << 15;
    constexpr std::size_t MostWorkers = 64;
    const std::size_t cores = std::max(1u, std::thread::hardware_concurrency());
    return std::clamp<std::size_t>(elements / ElementsPerWorker, 1, std::min(cores, MostWorkers));
}

// The first element of a worker's share; share `workers` ends the last one.
inline std::size_t ShareStart(std::size_t elements, std::size_t workers, std::size_t share)
{
    return elements / workers * share + std::min(share, elements % workers);
}

// Runs work(0) .. work(parts - 1), one per thread, and rethrows the first
// failure once all have finished. A thread the system refuses runs its part
// here instead.
template <class TWork> void RunInParallel(std::size_t parts, const TWork& work)
{
    std::vector<std::exception_ptr> failures(parts);
    auto guarded = [&](std::size_t part) {
        try {
            work(part);
        } catch (...) {
            failures[part] = std::current_exception();
        }
    };
    std::vector<Threads::TSideThread> threads;
    threads.reserve(parts);
    for (std::size_t part = 1; part < parts; ++part) {
        try {
            threads.emplace_back([&guarded, part] { guarded(part); });
        } catch (const std::system_error&) {
            guarded(part);
        }
    }
    guarded(0);
    for (Threads::TSideThread& thread : threads)
        thread.Join();
    for (const std::exception_ptr& failure : failures)
        if (failure)
            std::rethrow_exception(failure);
}

}  // namespace Sorting
