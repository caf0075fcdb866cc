#include "PieceReading.h"

#include <algorithm>
#include <cstring>

namespace {

// Reads past the piece while the last line goes on, in steps that start
// small (a line is short) and double (a line may be huge).
constexpr std::size_t FirstLineStep = 1 << 12;
// Reads a piece without an end (the last) in steps of this much.
constexpr std::size_t RestStep = 1 << 20;

}  // namespace

void TReadBuffer::Reserve(std::size_t size, std::size_t kept)
{
    if (size <= FCapacity)
        return;
    const std::size_t capacity = std::max(size, FCapacity * 2);
    std::unique_ptr<char[]> larger(new char[capacity]);
    if (kept > 0)
        std::memcpy(larger.get(), FData.get(), kept);
    FData = std::move(larger);
    FCapacity = capacity;
}

std::string_view ReadLinesStartingIn(const TFileHandle& file, std::size_t from, std::size_t to,
                                     bool atLineStart, TReadBuffer& buffer)
{
    // With the byte before from, which tells whether a line starts at from.
    const std::size_t origin = atLineStart || from == 0 ? from : from - 1;
    std::size_t filled = 0;
    bool ended = false;
    // Appends up to size bytes; false at the end of the file.
    auto readMore = [&](std::size_t size) {
        buffer.Reserve(filled + size, filled);
        const std::size_t got = file.ReadAt(buffer.Data() + filled, size, origin + filled);
        filled += got;
        ended = got < size;
        return !ended;
    };
    if (to != EndOfFile) {
        // Room for the usual end of the last line too, so that the buffer
        // rarely grows.
        buffer.Reserve(to - origin + FirstLineStep, 0);
        readMore(to - origin);
    } else {
        while (readMore(RestStep)) { }
    }

    std::size_t first = 0;
    if (origin < from) {
        const void* lf = std::memchr(buffer.Data(), '\n', filled);
        if (!lf)
            return {};
        first = static_cast<std::size_t>(static_cast<const char*>(lf) - buffer.Data()) + 1;
    }
    if (first >= filled)
        return {};
    // Finish the line that crosses the end of the piece.
    for (std::size_t step = FirstLineStep; !ended && buffer.Data()[filled - 1] != '\n'; step *= 2) {
        const std::size_t before = filled;
        readMore(step);
        if (const void* lf = std::memchr(buffer.Data() + before, '\n', filled - before))
            filled = static_cast<std::size_t>(static_cast<const char*>(lf) - buffer.Data()) + 1;
    }
    return std::string_view(buffer.Data() + first, filled - first);
}
