#pragma once
// Internal: finds, in a block of whole text lines, the lines that may hold a
// URL, so that the rest are skipped in bulk without being cut out one by one.
//
// Every rule needs one of ":", "." or "/" in the line as the recognizer sees
// it: a scheme needs "://", "www.", "ww." and "../" a dot, the path rules a
// slash. The line spacing inserts none of them where none was. Without the
// path rules and the kana conversion only "://", "ww." and (with the parent
// path rule) "../" themselves count. The kana conversion makes ":", "." and
// "/" only out of け, る and め (lead byte 0x82), so with it on those pairs
// count too, found at any alignment (a superset). A CR that is not part of
// a CR LF is dropped from the line, which could join a pair or a pattern,
// so such a CR marks its line as well. A Ctrl-Z is reported wherever it
// stands; only the caller knows whether it starts a line.
#include <cstddef>
#include <cstring>
#include <string_view>

#include "ByteKernels.h"

namespace candidates {

struct TTriggers {
    bool Slash = false;        // a "/" alone may make a URL
    bool Kana = false;         // the kana conversion is on
    bool ParentPaths = false;  // "../" starts a URL
};

// The first "://", "ww." or (with parentPaths) "../" at or after from,
// reported at its colon or its first dot, or the first Ctrl-Z or lone CR.
// Each ":/", "w." and ".." found is looked at where it stands, which costs
// far less than reading its line: even text full of colons and dots
// (sentences, roff requests) holds few of those pairs outside URLs.
inline std::size_t FindAnchor(const unsigned char* bytes, std::size_t from, std::size_t length,
                              bool parentPaths)
{
    return kernels::FindAnchor(bytes, from, length, parentPaths);
}

inline std::size_t FindHit(const unsigned char* bytes, std::size_t from, std::size_t length,
                           const TTriggers& triggers)
{
    if (!triggers.Slash && !triggers.Kana)
        return FindAnchor(bytes, from, length, triggers.ParentPaths);
    return kernels::FindHit(bytes, from, length, triggers.Slash ? '/' : ':', triggers.Kana);
}

// One line of a block: its bytes without the LF, and whether a CR other
// than the one before the LF stands in it.
struct TRawLine {
    std::string_view Bytes;
    bool LoneCr;
};

// Calls onLine(TRawLine) for every line of block that holds a hit of
// findHit(from), the first hit at or after from or the block's length. It
// must report what FindHit reports (Ctrl-Z and lone CRs included) and may
// report more. False when a Ctrl-Z at the start of a line ended the text.
template <class FindHitFrom, class OnLine>
bool ForEachLineHit(std::string_view block, FindHitFrom&& findHit, OnLine&& onLine)
{
    const auto* bytes = reinterpret_cast<const unsigned char*>(block.data());
    const std::size_t length = block.size();
    std::size_t lineFloor = 0;  // no line before this holds a hit
    for (std::size_t p = findHit(0); p < length; p = findHit(p)) {
        if (bytes[p] == kernels::CtrlZ) {
            if (p == 0 || bytes[p - 1] == '\n')
                return false;
            ++p;
            continue;
        }
        // The bytes from lineFloor to p hold no hit, so no lone CR either.
        const void* before = memrchr(bytes + lineFloor, '\n', p - lineFloor);
        const std::size_t first =
            before ? static_cast<std::size_t>(static_cast<const unsigned char*>(before) - bytes) + 1
                   : lineFloor;
        std::size_t end = kernels::FindLineEnd(bytes, p, length);
        const bool loneCr = end < length && bytes[end] == '\r';
        if (loneCr) {
            const void* lf = std::memchr(bytes + end, '\n', length - end);
            end = lf ? static_cast<std::size_t>(static_cast<const unsigned char*>(lf) - bytes) : length;
        }
        onLine(TRawLine{block.substr(first, end - first), loneCr});
        p = lineFloor = end + 1;
        if (p >= length)
            break;
    }
    return true;
}

// Calls onLine(TRawLine) for every line of block that holds a hit, in
// order. block starts at a line start.
template <class OnLine>
bool ForEachCandidateLine(std::string_view block, const TTriggers& triggers, OnLine&& onLine)
{
    const auto* bytes = reinterpret_cast<const unsigned char*>(block.data());
    return ForEachLineHit(
        block, [&](std::size_t from) { return FindHit(bytes, from, block.size(), triggers); }, onLine);
}

}  // namespace candidates
