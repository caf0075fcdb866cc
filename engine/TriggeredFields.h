#pragma once
// Internal: the fields of a block of valid UTF-8 lines that a path rule or
// the kana conversion could accept, found from marks made in one pass over
// the block, without cutting out its lines one by one. Such a field holds a
// "/", a "." or (kana) a め or る, the field triggers, and either both kinds
// or a first byte that a prefix may start with: the rest, most fields of
// prose, nothing accepts, and they are passed over by bit arithmetic
// without being looked at one by one. Only a line holding a
// "://" or "../" (whose spacings change its fields), a lone CR (whose
// removal joins them) or a Ctrl-Z is read whole, by the caller.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

#include "ByteKernels.h"

namespace blocks {

// The marks of one window of a block, and the searches over them.
class TMarkedWindow {
public:
    using TKind = std::uint64_t kernels::TFieldMarks::*;
    static constexpr std::size_t None = static_cast<std::size_t>(-1);

    void Mark(std::string_view window, bool kana, bool parentPaths)
    {
        FLength = window.size();
        // One word more when the window fills its last: the window's end
        // ends its last field, and that end has a bit of its own.
        const std::size_t words = FLength / 64 + 1;
        if (FMarks.size() < words)
            FMarks.resize(words);
        FMarks[words - 1] = {};
        kernels::MarkUtf8Fields(reinterpret_cast<const unsigned char*>(window.data()), FLength, kana,
                                parentPaths, FMarks.data());
    }

    // The fields the rules may take among the lines in [from, to), in
    // order, by the bit of their end (a field end, or the window's
    // length). from starts a line; to starts one too, or is the window's
    // length. A field's marks are carried to its end by adding them to the
    // run of bits between two ends: the carry out of the run lands on the
    // end.
    template <class OnField>
    void ForEachWantedField(std::size_t from, std::size_t to, OnField&& onField) const
    {
        const std::size_t last = to == FLength ? to : to - 1;  // the last end to hand on
        std::uint64_t slashCarry = 0, dotCarry = 0, prefixCarry = 0, endBefore = 1;
        for (std::size_t word = from / 64; word <= last / 64; ++word) {
            const kernels::TFieldMarks& marks = FMarks[word];
            // Bytes before from count as ends, without marks.
            const std::uint64_t before = word == from / 64 ? (std::uint64_t{1} << (from % 64)) - 1 : 0;
            std::uint64_t ends = marks.Ends | before;
            if (word == FLength / 64)
                ends |= std::uint64_t{1} << (FLength % 64);
            const std::uint64_t inFields = ~ends, starts = (ends << 1 | endBefore) & inFields;
            endBefore = ends >> 63;
            const std::uint64_t slashEnds = CarryToEnds(inFields, marks.Slashes & ~before, slashCarry) & ends;
            const std::uint64_t dotEnds = CarryToEnds(inFields, marks.Dots & ~before, dotCarry) & ends;
            const std::uint64_t prefixEnds =
                CarryToEnds(inFields, marks.Prefixes & starts, prefixCarry) & ends;
            const std::uint64_t both = slashEnds & dotEnds;
            std::uint64_t wanted = both | (prefixEnds & (slashEnds | dotEnds));
            if (word == last / 64 && last % 64 != 63)
                wanted &= (std::uint64_t{2} << (last % 64)) - 1;
            for (; wanted != 0; wanted &= wanted - 1) {
                const auto bit = static_cast<unsigned>(__builtin_ctzll(wanted));
                onField(word * 64 + bit, ((both >> bit) & 1) != 0);
            }
        }
    }

    // The first byte at or after from marked as kind; the window's length
    // when there is none.
    std::size_t Next(std::size_t from, TKind kind) const
    {
        for (; from < FLength; from = (from / 64 + 1) * 64)
            if (const std::uint64_t bits = FMarks[from / 64].*kind & (~std::uint64_t{0} << (from % 64)))
                return from / 64 * 64 + static_cast<std::size_t>(__builtin_ctzll(bits));
        return FLength;
    }

    // The last byte before `before` marked as kind, or None.
    std::size_t Previous(std::size_t before, TKind kind) const
    {
        std::size_t word = before / 64;
        std::uint64_t bits =
            before % 64 == 0 ? 0 : FMarks[word].*kind & ((std::uint64_t{1} << (before % 64)) - 1);
        while (bits == 0) {
            if (word == 0)
                return None;
            bits = FMarks[--word].*kind;
        }
        return Last(word, bits);
    }

private:
    // run + seeds + carry, the carry out kept for the next word.
    static std::uint64_t CarryToEnds(std::uint64_t run, std::uint64_t seeds, std::uint64_t& carry)
    {
        std::uint64_t sum;
        const bool out = __builtin_add_overflow(run, seeds, &sum);
        const bool outAgain = __builtin_add_overflow(sum, carry, &sum);
        carry = out || outAgain ? 1 : 0;
        return sum;
    }

    static std::size_t Last(std::size_t word, std::uint64_t bits)
    {
        return word * 64 + 63 - static_cast<std::size_t>(__builtin_clzll(bits));
    }

    std::vector<kernels::TFieldMarks> FMarks;
    std::size_t FLength = 0;
};

// Lines are marked a window of about this many bytes at a time, so that
// the marks stay in the cache; a window ends with a line.
constexpr std::size_t FieldWindowBytes = 16 << 10;

// ForEachTriggeredField over one marked window of whole lines.
template <class BeforeLine, class OnField, class OnLine>
bool ForEachMarkedField(std::string_view window, const TMarkedWindow& marks, BeforeLine&& beforeLine,
                        OnField&& onField, OnLine&& onLine)
{
    using kernels::TFieldMarks;
    constexpr std::size_t None = TMarkedWindow::None;
    const std::size_t length = window.size();
    // The next line to be read whole: [carefulStart, carefulEnd), its LF at carefulEnd.
    std::size_t carefulStart = length, carefulEnd = length;
    const auto findCareful = [&](std::size_t from) {
        const std::size_t careful = marks.Next(from, &TFieldMarks::Careful);
        if (careful == length) {
            carefulStart = length;
            return;
        }
        const std::size_t lf = marks.Previous(careful, &TFieldMarks::Lines);
        carefulStart = lf == None ? 0 : lf + 1;
        carefulEnd = marks.Next(careful, &TFieldMarks::Lines);
    };
    findCareful(0);
    std::size_t lineEnd = None;  // the LF (or length) of the line of the last field handed on
    const auto onWanted = [&](std::size_t end, bool slashAndDot) {
        const std::size_t before = marks.Previous(end, &TFieldMarks::Ends);
        const std::size_t start = before == None ? 0 : before + 1;
        if (lineEnd == None || start > lineEnd) {
            const std::size_t lf = marks.Previous(start, &TFieldMarks::Lines);
            beforeLine(window.data() + (lf == None ? 0 : lf + 1));
            lineEnd = marks.Next(start, &TFieldMarks::Lines);
        }
        onField(window.substr(start, end - start), slashAndDot);
    };
    // The lines between two lines read whole, then the second of them.
    for (std::size_t from = 0;;) {
        if (from < carefulStart)
            marks.ForEachWantedField(from, carefulStart, onWanted);
        if (carefulStart >= length)
            return true;
        if (window[carefulStart] == kernels::CtrlZ)
            return false;
        onLine(window.substr(carefulStart, carefulEnd - carefulStart));
        from = std::min(carefulEnd + 1, length);
        findCareful(from);
    }
}

// Calls, in the order of the block, beforeLine(lineStart) before the first
// field of each line, onField(field, slashAndDot) for each field holding a
// trigger and either both kinds or a first byte that a prefix may start
// with (slashAndDot: it holds both a "/" or め and a "." or る), and
// onLine(line) (without its LF) for each line to be read whole. Windows
// that a single line makes longer than a few times the usual go to
// onLines(lines) whole. False when a Ctrl-Z at the start of a line, or
// onLines, ended the text.
template <class BeforeLine, class OnField, class OnLine, class OnLines>
bool ForEachTriggeredField(std::string_view block, bool kana, bool parentPaths, BeforeLine&& beforeLine,
                           OnField&& onField, OnLine&& onLine, OnLines&& onLines)
{
    thread_local TMarkedWindow marks;
    for (std::size_t start = 0; start < block.size();) {
        std::size_t end = block.size();
        if (end - start > FieldWindowBytes) {
            const std::size_t from = start + FieldWindowBytes - 1;
            const void* lf = std::memchr(block.data() + from, '\n', end - from);
            end = lf ? static_cast<std::size_t>(static_cast<const char*>(lf) - block.data()) + 1 : end;
        }
        const std::string_view window = block.substr(start, end - start);
        start = end;
        if (window.size() > 4 * FieldWindowBytes) {
            if (!onLines(window))
                return false;
            continue;
        }
        marks.Mark(window, kana, parentPaths);
        if (!ForEachMarkedField(window, marks, beforeLine, onField, onLine))
            return false;
    }
    return true;
}

}  // namespace blocks
