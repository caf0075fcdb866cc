#pragma once
// Internal: the first of two byte values, found with SIMD where available.
#include <cstddef>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace bytesearch {

// Index of the first byte at or after from equal to a or b, or length.
inline std::size_t FindEither(const unsigned char* bytes, std::size_t from, std::size_t length,
                              unsigned char a, unsigned char b)
{
    std::size_t i = from;
#if defined(__SSE2__)
    const __m128i wantA = _mm_set1_epi8(static_cast<char>(a)), wantB = _mm_set1_epi8(static_cast<char>(b));
    for (; i + 16 <= length; i += 16) {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + i));
        const int mask =
            _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(block, wantA), _mm_cmpeq_epi8(block, wantB)));
        if (mask != 0)
            return i + static_cast<std::size_t>(__builtin_ctz(static_cast<unsigned>(mask)));
    }
#endif
    while (i < length && bytes[i] != a && bytes[i] != b)
        ++i;
    return i;
}

}  // namespace bytesearch
