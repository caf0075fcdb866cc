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

#include "ShiftJisScan.h"

namespace recognizer {

// Space, double quote, "<", ">", apostrophe, and NUL, which is in every set.
inline bool IsSpecial(unsigned char c)
{
    return c == ' ' || c == '"' || c == '<' || c == '>' || c == '\'' || c == 0;
}

// Index of the first special byte at or after from, or the text's length.
inline std::size_t FindSpecial(const unsigned char* bytes, std::size_t from, std::size_t length)
{
    std::size_t i = from;
#if defined(__SSE2__)
    const __m128i space = _mm_set1_epi8(' '), quote = _mm_set1_epi8('"'), less = _mm_set1_epi8('<'),
                  greater = _mm_set1_epi8('>'), apostrophe = _mm_set1_epi8('\''), zero = _mm_setzero_si128();
    for (; i + 16 <= length; i += 16) {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + i));
        const __m128i hits = _mm_or_si128(
            _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(block, space), _mm_cmpeq_epi8(block, quote)),
                         _mm_or_si128(_mm_cmpeq_epi8(block, less), _mm_cmpeq_epi8(block, greater))),
            _mm_or_si128(_mm_cmpeq_epi8(block, apostrophe), _mm_cmpeq_epi8(block, zero)));
        const int mask = _mm_movemask_epi8(hits);
        if (mask != 0)
            return i + static_cast<std::size_t>(__builtin_ctz(static_cast<unsigned>(mask)));
    }
#endif
    while (i < length && !IsSpecial(bytes[i]))
        ++i;
    return i;
}

// Calls onField(value) for fields 1..FieldCount of text under the recognizer set.
template <class OnField> void ScanFields(std::string_view text, OnField&& onField)
{
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    const std::size_t length = text.size();
    sjis::TSecondByteCursor kinds(text);
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
            for (p = FindSpecial(bytes, p, length); p < length; p = FindSpecial(bytes, p + 1, length))
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
