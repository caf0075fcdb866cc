#pragma once
// Short-lived arrays of tens of megabytes, as sorting millions of elements
// needs.
// Fresh memory is faulted in page by page, and on some machines that costs
// more than the sort itself; these arrays ask the kernel for huge pages,
// which take one fault per two megabytes.
#include <cstddef>
#include <memory>
#include <new>
#include <type_traits>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace Sorting {

template <class T> struct THugePageAllocator {
    using value_type = T;

    THugePageAllocator() = default;
    template <class U> THugePageAllocator(const THugePageAllocator<U>&) { }

    T* allocate(std::size_t n)
    {
#if defined(__linux__) && defined(MADV_HUGEPAGE)
        if (n * sizeof(T) >= HugePage) {
            void* memory =
                mmap(nullptr, Mapped(n), PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
            if (memory == MAP_FAILED)
                throw std::bad_alloc();
            madvise(memory, Mapped(n), MADV_HUGEPAGE);  // only advice: ignoring a refusal is fine
            return static_cast<T*>(memory);
        }
#endif
        return std::allocator<T>().allocate(n);
    }

    void deallocate(T* memory, std::size_t n)
    {
#if defined(__linux__) && defined(MADV_HUGEPAGE)
        if (n * sizeof(T) >= HugePage) {
            munmap(memory, Mapped(n));
            return;
        }
#endif
        std::allocator<T>().deallocate(memory, n);
    }

    friend bool operator==(const THugePageAllocator&, const THugePageAllocator&)
    {
        return true;
    }

private:
    static constexpr std::size_t HugePage = std::size_t{2} << 20;
    static std::size_t Mapped(std::size_t n)
    {
        return (n * sizeof(T) + HugePage - 1) / HugePage * HugePage;
    }
};

// An array of plain elements, left uninitialised: its users write every
// element before reading it, so zeroing it first would be a wasted pass.
template <class T> class TLargeBuffer {
public:
    static_assert(std::is_trivially_copyable_v<T> && std::is_trivially_destructible_v<T>);

    explicit TLargeBuffer(std::size_t count) : FData(THugePageAllocator<T>().allocate(count)), FCount(count)
    { }
    ~TLargeBuffer() { THugePageAllocator<T>().deallocate(FData, FCount); }
    TLargeBuffer(const TLargeBuffer&) = delete;
    TLargeBuffer& operator=(const TLargeBuffer&) = delete;

    T* Data() { return FData; }
    T& operator[](std::size_t i) { return FData[i]; }

private:
    T* FData;
    std::size_t FCount;
};

}  // namespace Sorting
