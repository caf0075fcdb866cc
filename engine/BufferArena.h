#pragma once
// Internal to the engine and the command-line extractor: room for the large
// buffers of a reading (read and output buffers of a hundred kilobytes or
// more), carved from one region that the system may back with
// a single huge page. On some virtual machines every fresh small page costs
// a fault of over ten microseconds, and a reading's buffers come to a
// hundred or more of them; one huge page costs about as much as ten.
#include <cstddef>

namespace arena {

// size bytes aligned to a cache line, from the region while it has room,
// else from the heap. Safe from several threads.
char* Allocate(std::size_t size);
// Gives back what Allocate gave; the region is reused once all of it is.
void Release(char* data);

}  // namespace arena
