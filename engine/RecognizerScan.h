#pragma once
// The splitter specialised to the recognizer's delimiter set, for speed:
// it jumps from one special byte (a delimiter or a quote) to the next with
// SIMD, and asks for a byte's kind only there. Yields exactly what
// fields::ScanFields yields with that set. Internal header.
#include <cstddef>
#include <cstring>
#include <string_view>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "ByteSearch.h"
#include "ShiftJisScan.h"

namespace recognizer {

// Space, double quote, "<", ">", apostrophe, and NUL, which is in every set.
inline bool IsSpecial(unsigned char c)
{
    return c == ' ' || c == '"' || c == '<' || c == '>' || c == '\'' || c == 0;
}

// The special bytes, for bytesearch::TMatchWalker.
class TSpecialMatcher {
public:
#if defined(__SSE2__)
    // Space and quote, and "<" and ">", differ in one bit each: folding that
    // bit saves two comparisons.
    __m128i Block(__m128i block) const
    {
        const __m128i folded = _mm_or_si128(block, FBit1);
        return _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(folded, FQuote), _mm_cmpeq_epi8(folded, FGreater)),
                            _mm_or_si128(_mm_cmpeq_epi8(block, FApostrophe), _mm_cmpeq_epi8(block, FZero)));
    }
#endif
    bool Byte(unsigned char c) const
    {
        return IsSpecial(c);
    }

private:
#if defined(__SSE2__)
    __m128i FBit1 = _mm_set1_epi8(2), FQuote = _mm_set1_epi8('"'), FGreater = _mm_set1_epi8('>'),
            FApostrophe = _mm_set1_epi8('\''), FZero = _mm_setzero_si128();
#endif
};

// Calls onField(value) for fields 1..FieldCount of text under the recognizer set.
template <class OnField> void ScanFields(std::string_view text, OnField&& onField)
{
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    const std::size_t length = text.size();
    sjis::TSecondByteCursor kinds(text);
    bytesearch::TMatchWalker<TSpecialMatcher> specials(bytes, length);
    // A special byte separates unless it is the second byte of a character; NUL always does.
    auto separates = [&](std::size_t i) { return bytes[i] == 0 || !kinds.IsSecondAt(i); };

    std::size_t p = 0;
    for (;;) {
        while (p < length && IsSpecial(bytes[p]) && separates(p))
            ++p;
        if (p >= length)
            return;
        const std::size_t start = p;
        if (bytes[p] == '"') {
            // Only a quote that is a second byte gets here; it still opens a quoted field.
            const void* close = std::memchr(bytes + p + 1, '"', length - p - 1);
            p = close ? static_cast<std::size_t>(static_cast<const unsigned char*>(close) - bytes) + 1
                      : length;
        } else {
            for (p = specials.NextFrom(p); p < length; p = specials.NextFrom(p + 1))
                if (bytes[p] == '"' || separates(p))
                    break;
        }
        std::string_view value = text.substr(start, p - start);
        if (value.front() == '"') {
            value.remove_prefix(1);
            if (!value.empty() && value.back() == '"')
                value.remove_suffix(1);
        }
        if (value.empty() || !onField(value))
            return;
    }
}

}  // namespace recognizer
