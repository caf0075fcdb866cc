#include "BufferArena.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <new>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace arena {

namespace {

constexpr std::size_t RegionSize = std::size_t{2} << 20;  // one huge page on x86-64
constexpr std::size_t Alignment = 64;

std::mutex Lock;
char* Region = nullptr;
bool RegionRefused = false;
std::size_t Used = 0;
int Live = 0;  // allocations from the region not yet released

bool InRegion(const char* data)
{
    return Region && data >= Region && data < Region + RegionSize;
}

}  // namespace

char* Allocate(std::size_t size)
{
    size = (size + Alignment - 1) / Alignment * Alignment;
    {
        std::lock_guard lock(Lock);
        if (!Region && !RegionRefused) {
            Region = static_cast<char*>(std::aligned_alloc(RegionSize, RegionSize));
            RegionRefused = !Region;
#if defined(__linux__) && defined(MADV_HUGEPAGE)
            if (Region)
                ::madvise(Region, RegionSize, MADV_HUGEPAGE);
#endif
        }
        if (Region && size <= RegionSize - Used) {
            char* data = Region + Used;
            Used += size;
            ++Live;
            return data;
        }
    }
    return static_cast<char*>(::operator new (size, std::align_val_t{Alignment}));
}

void Release(char* data)
{
    if (!data)
        return;
    {
        std::lock_guard lock(Lock);
        if (InRegion(data)) {
            if (--Live == 0)
                Used = 0;
            return;
        }
    }
    ::operator delete (data, std::align_val_t{Alignment});
}

void TBuffer::Reserve(std::size_t size, std::size_t kept)
{
    if (size <= FCapacity)
        return;
    const std::size_t capacity = std::max(size, FCapacity * 2);
    std::unique_ptr<char, TRelease> larger(Allocate(capacity));
    if (kept > 0)
        std::memcpy(larger.get(), FData.get(), kept);
    FData = std::move(larger);
    FCapacity = capacity;
}

}  // namespace arena
