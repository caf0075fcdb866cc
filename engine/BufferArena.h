#pragma once
// Internal to the engine and the command-line extractor: room for the large
// buffers of a reading (read and output buffers of a hundred kilobytes or
// more), carved from one region that the system may back with
// a single huge page. On some virtual machines every fresh small page costs
// a fault of over ten microseconds, and a reading's buffers come to a
// hundred or more of them; one huge page costs about as much as ten.
#include <cstddef>
#include <memory>

namespace arena {

// size bytes aligned to a cache line, from the region while it has room,
// else from the heap. Safe from several threads.
char* Allocate(std::size_t size);
// Gives back what Allocate gave; the region is reused once all of it is.
void Release(char* data);

// A growable buffer from the arena that, unlike a vector, never clears
// bytes about to be overwritten.
class TBuffer {
public:
    char* Data() { return FData.get(); }
    const char* Data() const { return FData.get(); }
    std::size_t Capacity() const { return FCapacity; }
    // Makes room for size bytes, keeping the first kept ones.
    void Reserve(std::size_t size, std::size_t kept);

private:
    struct TRelease {
        void operator()(char* data) const { Release(data); }
    };
    std::unique_ptr<char, TRelease> FData;
    std::size_t FCapacity = 0;
};

}  // namespace arena
