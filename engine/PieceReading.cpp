#include "PieceReading.h"

#include <algorithm>
#include <cstring>

namespace {

// Reads past the piece while the last line goes on, in steps that start
// small (a line is short) and double (a line may be huge).
constexpr std::size_t FirstLineStep = 1 << 12;
// Reads a piece without an end (the last) in steps of this much.
constexpr std::size_t RestStep = 1 << 20;
// The system copies file bytes markedly slower when the buffer and the file
// offset disagree within a cache line, so both stay aligned to it (arena
// buffers are).
constexpr std::size_t Alignment = 64;

}  // namespace

TLineBlock ReadLinesStartingIn(const TFileHandle& file, std::size_t from, std::size_t to, bool atLineStart,
                               TReadBuffer& buffer)
{
    // With the byte before from, which tells whether a line starts at from,
    // and from a cache-line boundary when from is on one.
    const std::size_t origin = atLineStart || from == 0 ? from : from - std::min(from, Alignment);
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
    // The usual end of the last line comes in the same call.
    if (to != EndOfFile) {
        // One size for every piece, so that the buffer rarely grows.
        buffer.Reserve(to - from + Alignment + FirstLineStep, 0);
        readMore(to - origin + FirstLineStep);
    } else {
        while (readMore(RestStep)) { }
    }
    const std::size_t limit = std::min(to - origin, filled);  // where the piece's bytes end
    const char* data = buffer.Data();

    std::size_t first = from - origin;
    if (!atLineStart && from > 0) {
        // The first LF from the byte before from on ends the line before.
        const void* lf = first <= limit ? std::memchr(data + first - 1, '\n', limit - (first - 1)) : nullptr;
        if (!lf)
            return {};
        first = static_cast<std::size_t>(static_cast<const char*>(lf) - data) + 1;
    }
    if (first >= limit)
        return {};
    // Finish the line that crosses the end of the piece.
    std::size_t end = limit;
    for (std::size_t step = FirstLineStep, seen = limit; data[end - 1] != '\n' && end < filled;) {
        if (const void* lf = std::memchr(data + seen, '\n', filled - seen)) {
            end = static_cast<std::size_t>(static_cast<const char*>(lf) - data) + 1;
            break;
        }
        end = seen = filled;
        if (ended)
            break;
        readMore(step *= 2);
        data = buffer.Data();
    }
    return {std::string_view(data + first, end - first), origin + first};
}
