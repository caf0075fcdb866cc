#pragma once
// Internal: reading and writing UTF-8 sequences, and finding ASCII runs
// fast, for the encoding decision and the conversions.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace utf8 {

// The number of bytes before the first one above 0x7F, eight at a time.
inline std::size_t AsciiPrefix(std::string_view text)
{
    std::size_t i = 0;
    for (; i + 8 <= text.size(); i += 8) {
        std::uint64_t word;
        std::memcpy(&word, text.data() + i, 8);
        if (word & 0x8080808080808080ull)
            break;
    }
    while (i < text.size() && static_cast<unsigned char>(text[i]) < 0x80)
        ++i;
    return i;
}

inline bool IsContinuation(unsigned char c)
{
    return (c & 0xC0) == 0x80;
}

constexpr int Invalid = 0;
constexpr int CutShort = -1;

// The valid sequence at p: its length, with its code point in cp; Invalid;
// or CutShort when the bytes end inside a sequence that is valid so far.
// Overlong forms, surrogates and code points above U+10FFFF are invalid.
inline int Decode(const unsigned char* p, std::size_t available, char32_t& cp)
{
    const unsigned char c = p[0];
    int length;
    unsigned char low = 0x80, high = 0xBF;  // the second byte's range
    if (c < 0x80) {
        cp = c;
        return 1;
    } else if (c >= 0xC2 && c <= 0xDF) {
        length = 2;
        cp = c & 0x1F;
    } else if (c >= 0xE0 && c <= 0xEF) {
        length = 3;
        cp = c & 0x0F;
        low = c == 0xE0 ? 0xA0 : 0x80;
        high = c == 0xED ? 0x9F : 0xBF;
    } else if (c >= 0xF0 && c <= 0xF4) {
        length = 4;
        cp = c & 0x07;
        low = c == 0xF0 ? 0x90 : 0x80;
        high = c == 0xF4 ? 0x8F : 0xBF;
    } else {
        return Invalid;
    }
    for (int k = 1; k < length; ++k) {
        if (static_cast<std::size_t>(k) >= available)
            return CutShort;
        const unsigned char next = p[k];
        if (k == 1 ? (next < low || next > high) : !IsContinuation(next))
            return Invalid;
        cp = (cp << 6) | (next & 0x3F);
    }
    return length;
}

// Writes cp (at most U+10FFFF, no surrogate) and returns its length.
constexpr std::size_t Encode(char32_t cp, char* out)
{
    if (cp < 0x80) {
        out[0] = static_cast<char>(cp);
        return 1;
    }
    if (cp < 0x800) {
        out[0] = static_cast<char>(0xC0 | (cp >> 6));
        out[1] = static_cast<char>(0x80 | (cp & 0x3F));
        return 2;
    }
    if (cp < 0x10000) {
        out[0] = static_cast<char>(0xE0 | (cp >> 12));
        out[1] = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out[2] = static_cast<char>(0x80 | (cp & 0x3F));
        return 3;
    }
    out[0] = static_cast<char>(0xF0 | (cp >> 18));
    out[1] = static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out[2] = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out[3] = static_cast<char>(0x80 | (cp & 0x3F));
    return 4;
}

}  // namespace utf8
