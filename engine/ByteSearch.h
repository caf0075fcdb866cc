#pragma once
// Internal: finding bytes of a kind, 16 at a time with SSE2 where available.
// A matcher names the kind twice: Block(16 bytes) gives a byte mask, Byte(c)
// the same answer for one byte.
#include <cstddef>
#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace bytesearch {

#if defined(__SSE2__)
inline unsigned BlockBits(const auto& matcher, const unsigned char* at)
{
    return static_cast<unsigned>(
        _mm_movemask_epi8(matcher.Block(_mm_loadu_si128(reinterpret_cast<const __m128i*>(at)))));
}
#endif

// Visits the matching bytes of a text in order, taking them from one 64-bit
// mask per 64 bytes: a text with many matches costs one pass over its
// bytes, not one search per match. The last partial block is read by
// loading the final 16 bytes again, so short texts such as lines do not
// spend their tail in a byte loop.
template <class Matcher> class TMatchWalker {
public:
    TMatchWalker(const unsigned char* bytes, std::size_t length, const Matcher& matcher = {})
        : FBytes(bytes), FLength(length), FMatcher(matcher)
    { }

    // The first match at or after from, or the text's length.
    std::size_t NextFrom(std::size_t from)
    {
        while (from < FLength) {
            const std::size_t chunk = from & ~std::size_t{63};
            if (chunk != FChunk)
                Load(chunk);
            const std::uint64_t mask = FMask & (~std::uint64_t{0} << (from - chunk));
            if (mask != 0)
                return chunk + static_cast<std::size_t>(__builtin_ctzll(mask));
            from = chunk + 64;
        }
        return FLength;
    }

private:
    void Load(std::size_t chunk)
    {
        FChunk = chunk;
        FMask = 0;
        const std::size_t end = chunk + 64 < FLength ? chunk + 64 : FLength;
        std::size_t i = chunk;
#if defined(__SSE2__)
        for (; i + 16 <= end; i += 16)
            FMask |= std::uint64_t{BlockBits(FMatcher, FBytes + i)} << (i - chunk);
        if (i < end && FLength >= 16) {
            // end is the text's end here; bit k of the final block is byte last + k.
            const std::size_t last = FLength - 16;
            FMask |= std::uint64_t{BlockBits(FMatcher, FBytes + last) >> (i - last)} << (i - chunk);
            return;
        }
#endif
        for (; i < end; ++i)
            if (FMatcher.Byte(FBytes[i]))
                FMask |= std::uint64_t{1} << (i - chunk);
    }

    const unsigned char* FBytes;
    std::size_t FLength;
    Matcher FMatcher;
    std::size_t FChunk = ~std::size_t{0};
    std::uint64_t FMask = 0;
};

// Either of two byte values.
class TEitherMatcher {
public:
    TEitherMatcher(unsigned char a, unsigned char b) : FA(a), FB(b)
    {
#if defined(__SSE2__)
        FWantA = _mm_set1_epi8(static_cast<char>(a));
        FWantB = _mm_set1_epi8(static_cast<char>(b));
#endif
    }
#if defined(__SSE2__)
    __m128i Block(__m128i block) const
    {
        return _mm_or_si128(_mm_cmpeq_epi8(block, FWantA), _mm_cmpeq_epi8(block, FWantB));
    }
#endif
    bool Byte(unsigned char c) const
    {
        return c == FA || c == FB;
    }

private:
    unsigned char FA, FB;
#if defined(__SSE2__)
    __m128i FWantA, FWantB;
#endif
};

}  // namespace bytesearch
