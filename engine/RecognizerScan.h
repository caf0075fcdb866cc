#pragma once
// The splitter specialised to the recognizer's delimiter set, for speed.
// One SIMD pass marks a line's special bytes (delimiters and quotes) and its
// ":" and "." bytes in bit masks; the spacing steps and the field loop then
// jump from mark to mark and ask for a byte's kind only there. Yields
// exactly what fields::ScanFields yields with that set. Kind (LineKinds.h)
// tells how the line's bytes are read. Internal header.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

#include "ByteKernels.h"
#include "LineKinds.h"

namespace recognizer {

// Space, double quote, "<", ">", apostrophe, and NUL, which is in every set.
inline bool IsSpecial(unsigned char c)
{
    return c == ' ' || c == '"' || c == '<' || c == '>' || c == '\'' || c == 0;
}

// The special bytes, colons and dots of one text, 64 bytes to a word.
class TLineMasks {
public:
    void Compute(std::string_view text)
    {
        FLength = text.size();
        const std::size_t words = (FLength + 63) / 64;
        if (FSpecials.size() < words) {
            FSpecials.resize(words);
            FColons.resize(words);
            FDots.resize(words);
            FWwDots.resize(words);
        }
        FHasQuote = kernels::MarkLine(reinterpret_cast<const unsigned char*>(text.data()), FLength,
                                      FSpecials.data(), FColons.data(), FDots.data(), FWwDots.data());
    }

    // The first byte of the kind at or after from; the text's length when
    // there is none.
    std::size_t NextSpecial(std::size_t from) const
    {
        return Next(from, [&](std::size_t word) { return FSpecials[word]; });
    }
    std::size_t NextColon(std::size_t from) const
    {
        return Next(from, [&](std::size_t word) { return FColons[word]; });
    }
    std::size_t NextDot(std::size_t from) const
    {
        return Next(from, [&](std::size_t word) { return FDots[word]; });
    }
    // The next "ww." starting at or after from.
    std::size_t NextWw(std::size_t from) const
    {
        const std::size_t dot = Next(from + 2, [&](std::size_t word) { return FWwDots[word]; });
        return dot < FLength ? dot - 2 : std::string_view::npos;
    }
    std::size_t NextColonOrDot(std::size_t from) const
    {
        return Next(from, [&](std::size_t word) { return FColons[word] | FDots[word]; });
    }
    // Marks the text's field triggers (kernels::MarkUtf8Triggers); the
    // text is the one given to Compute, valid UTF-8.
    void ComputeUtf8Triggers(std::string_view text, bool kana)
    {
        if (FTriggers.size() < FSpecials.size())
            FTriggers.resize(FSpecials.size());
        kernels::MarkUtf8Triggers(reinterpret_cast<const unsigned char*>(text.data()), FLength,
                                  FTriggers.data(), kana);
    }
    std::size_t NextTrigger(std::size_t from) const
    {
        return Next(from, [&](std::size_t word) { return FTriggers[word]; });
    }
    // Just after the last special byte before i, or floor when none stands
    // in floor..i: the start of the field holding i when no byte from floor
    // on is a second byte. Reads back no further than floor.
    std::size_t FieldStartBefore(std::size_t i, std::size_t floor) const
    {
        std::size_t word = i / 64;
        std::uint64_t bits = FSpecials[word] & ((std::uint64_t{1} << (i % 64)) - 1);
        for (;;) {
            if (bits != 0) {
                const std::size_t last = word * 64 + 63 - static_cast<std::size_t>(__builtin_clzll(bits));
                return last + 1 > floor ? last + 1 : floor;
            }
            if (word * 64 <= floor)
                return floor;
            bits = FSpecials[--word];
        }
    }
    bool HasQuote() const { return FHasQuote; }
    bool IsSpecialAt(std::size_t i) const { return (FSpecials[i / 64] >> (i % 64)) & 1; }

private:
    template <class Word> std::size_t Next(std::size_t from, Word&& word) const
    {
        while (from < FLength) {
            const std::size_t at = from / 64;
            const std::uint64_t bits = word(at) & (~std::uint64_t{0} << (from % 64));
            if (bits != 0)
                return at * 64 + static_cast<std::size_t>(__builtin_ctzll(bits));
            from = (at + 1) * 64;
        }
        return FLength;
    }

    std::vector<std::uint64_t> FSpecials, FColons, FDots, FWwDots, FTriggers;
    std::size_t FLength = 0;
    bool FHasQuote = false;
};

// One change of the spacing steps: the bytes Start to End (a scheme and its
// "://", a bare "://", or "../") give way to a space, then Name and a space
// when Name is not empty, then Tail, which begins the next field.
struct TSpacing {
    std::size_t Start;
    std::size_t End;
    std::string_view Name;
    std::string_view Tail;
};

// Calls onField(tail, value) for fields 1..FieldCount of the line as the
// spacings would leave it, without building that line; the field is tail
// followed by value, and tail is empty except in the field that follows a
// spacing. Fields made of a Name alone are left out: no rule accepts a bare
// scheme name. onField returns false to stop.
//
// Every inserted text begins with a space and is ASCII, and every replaced
// byte is ASCII, so the byte kinds of the line's own bytes stay as they
// were. A quote that is a second byte opens a quoted field, which may run
// over later spacings: callers pass no spacings when the line could hold one.
template <class Kind, class OnField>
void ScanFields(std::string_view line, const TLineMasks& masks, const std::vector<TSpacing>& spacings,
                OnField&& onField)
{
    const auto* bytes = reinterpret_cast<const unsigned char*>(line.data());
    const std::size_t length = line.size();
    typename Kind::TKinds kinds(line);
    // A special byte separates unless it is the second byte of a character; NUL always does.
    auto separates = [&](std::size_t i) { return bytes[i] == 0 || !kinds.IsSecondAt(i); };
    // A plain field runs up to a quote or a separating special byte.
    auto plainEnd = [&](std::size_t p, std::size_t limit) {
        for (p = masks.NextSpecial(p); p < limit; p = masks.NextSpecial(p + 1))
            if (bytes[p] == '"' || separates(p))
                return p;
        return limit;
    };

    std::size_t p = 0;
    std::string_view tail;
    for (std::size_t k = 0; k <= spacings.size(); ++k) {
        const std::size_t limit = k < spacings.size() ? spacings[k].Start : length;
        if (!tail.empty()) {
            const std::size_t end = plainEnd(p, limit);
            if (!onField(tail, line.substr(p, end - p)))
                return;
            p = end;
        }
        for (;;) {
            while (p < limit && masks.IsSpecialAt(p) && separates(p))
                ++p;
            if (p >= limit)
                break;
            const std::size_t start = p;
            std::string_view value;
            if (bytes[p] == '"') {
                // Only a quote that is a second byte gets here; it still opens a quoted field.
                const void* close = std::memchr(bytes + p + 1, '"', length - p - 1);
                p = close ? static_cast<std::size_t>(static_cast<const unsigned char*>(close) - bytes) + 1
                          : length;
                value = line.substr(start + 1, p - start - 1);
                if (!value.empty() && value.back() == '"')
                    value.remove_suffix(1);
            } else {
                p = plainEnd(p, limit);
                value = line.substr(start, p - start);
            }
            if (value.empty() || !onField(std::string_view(), value))
                return;
        }
        if (k < spacings.size()) {
            p = spacings[k].End;
            tail = spacings[k].Tail;
        }
    }
}

// What ScanFields yields that a rule reading only a field's first bytes
// could accept, when no quote is a second byte: every field that follows a
// spacing, and every field that begins with "ww" and holds "ww." in its
// first four bytes (the www rules). A field of the line as written never
// begins with a scheme or "../": the spacing steps take every one that
// starts a character, and a field always starts a character.
template <class Kind, class OnField>
void ScanPrefixedFields(std::string_view line, const TLineMasks& masks, const std::vector<TSpacing>& spacings,
                        OnField&& onField)
{
    const auto* bytes = reinterpret_cast<const unsigned char*>(line.data());
    const std::size_t length = line.size();
    typename Kind::TKinds kinds(line);
    auto separates = [&](std::size_t i) { return bytes[i] == 0 || !kinds.IsSecondAt(i); };
    auto plainEnd = [&](std::size_t p, std::size_t limit) {
        for (p = masks.NextSpecial(p); p < limit; p = masks.NextSpecial(p + 1))
            if (bytes[p] == '"' || separates(p))
                return p;
        return limit;
    };
    // Whether a field starts at p, which follows the last field found: the
    // byte before it is then a special byte that separates. Asked rarely, so
    // the kind is found by looking back.
    auto startsField = [&](std::size_t p) {
        if (p == 0)
            return true;
        if (!masks.IsSpecialAt(p - 1) || bytes[p - 1] == 0)
            return bytes[p - 1] == 0;
        return !Kind::IsSecondByteAt(bytes, p - 1);
    };

    std::size_t from = 0;
    std::string_view tail;
    std::size_t ww = masks.NextWw(0);  // the next "ww." not yet looked at
    for (std::size_t k = 0; k <= spacings.size(); ++k) {
        const std::size_t limit = k < spacings.size() ? spacings[k].Start : length;
        std::size_t done = from;  // the end of the last field found
        if (!tail.empty()) {
            done = plainEnd(from, limit);
            if (!onField(tail, line.substr(from, done - from)))
                return;
        }
        for (; ww < limit; ww = masks.NextWw(ww + 1)) {
            for (const std::size_t p : {ww - 1, ww}) {
                if (p + 1 == 0 || p < done || bytes[p] != 'w' || !startsField(p))
                    continue;
                done = plainEnd(p, limit);
                if (!onField(std::string_view(), line.substr(p, done - p)))
                    return;
            }
        }
        if (k < spacings.size()) {
            from = spacings[k].End;
            tail = spacings[k].Tail;
        }
    }
}

// What ScanFields yields that holds a field trigger (TLineMasks::
// ComputeUtf8Triggers), for a line of valid UTF-8, where no byte is a
// second byte and so every quote separates: every field that follows a
// spacing, and the other fields only when they hold a marked byte. Each
// rule needs a "/" or "." in the field as it reads it, and the kana
// conversion makes them only out of め and る: the fields of plain words,
// most of a text, are never cut out.
template <class OnField>
void ScanTriggeredFields(std::string_view line, const TLineMasks& masks,
                         const std::vector<TSpacing>& spacings, OnField&& onField)
{
    std::size_t from = 0;
    std::string_view tail;
    for (std::size_t k = 0; k <= spacings.size(); ++k) {
        const std::size_t limit = k < spacings.size() ? spacings[k].Start : line.size();
        std::size_t done = from;  // the end of the last field found
        if (!tail.empty()) {
            done = std::min(masks.NextSpecial(from), limit);
            if (!onField(tail, line.substr(from, done - from)))
                return;
        }
        for (std::size_t t = masks.NextTrigger(done); t < limit; t = masks.NextTrigger(done)) {
            const std::size_t start = masks.FieldStartBefore(t, done);
            done = std::min(masks.NextSpecial(t), limit);
            if (!onField(std::string_view(), line.substr(start, done - start)))
                return;
        }
        if (k < spacings.size()) {
            from = spacings[k].End;
            tail = spacings[k].Tail;
        }
    }
}

}  // namespace recognizer
