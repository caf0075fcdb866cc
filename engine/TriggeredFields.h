#pragma once
// Internal: the fields of a block of valid UTF-8 lines that a path rule or
// the kana conversion could accept, found from marks made in one pass over
// the block, without cutting out its lines one by one. Such a field holds a
// "/", a "." or (kana) a め or る, the field triggers. Only a line holding a
// "://" or "../" (whose spacings change its fields), a lone CR (whose
// removal joins them) or a Ctrl-Z is read whole, by the caller.
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
        const std::size_t words = (FLength + 63) / 64;
        if (FMarks.size() < words)
            FMarks.resize(words);
        kernels::MarkUtf8Fields(reinterpret_cast<const unsigned char*>(window.data()), FLength, kana,
                                parentPaths, FMarks.data());
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

    bool IsMarked(std::size_t i, TKind kind) const { return (FMarks[i / 64].*kind >> (i % 64)) & 1; }

    // The first trigger at or after from, and what the search passed on
    // the way: the last field end and the last LF in from..trigger.
    struct TTriggerFound {
        std::size_t Trigger;  // the window's length when there is none
        std::size_t LastEnd = None;
        std::size_t LastLine = None;
    };
    TTriggerFound NextTrigger(std::size_t from) const
    {
        TTriggerFound found{FLength};
        for (; from < FLength; from = (from / 64 + 1) * 64) {
            const std::size_t word = from / 64;
            const kernels::TFieldMarks& marks = FMarks[word];
            const std::uint64_t keep = ~std::uint64_t{0} << (from % 64);
            const std::uint64_t triggers = (marks.Slashes | marks.Dots) & keep;
            const std::uint64_t passed =
                keep & (triggers != 0 ? (triggers & (0 - triggers)) - 1 : ~std::uint64_t{0});
            if (const std::uint64_t ends = marks.Ends & passed)
                found.LastEnd = Last(word, ends);
            if (const std::uint64_t lines = marks.Lines & passed)
                found.LastLine = Last(word, lines);
            if (triggers != 0) {
                found.Trigger = word * 64 + static_cast<std::size_t>(__builtin_ctzll(triggers));
                return found;
            }
        }
        return found;
    }

    // The end of the field holding the trigger at `trigger`: the next field
    // end, or the window's length. slashAndDot: the field holds, after the
    // trigger, one of the other kind (the trigger is its first).
    std::size_t FieldEnd(std::size_t trigger, bool& slashAndDot) const
    {
        const TKind other = IsMarked(trigger, &kernels::TFieldMarks::Slashes)
                                ? &kernels::TFieldMarks::Dots
                                : &kernels::TFieldMarks::Slashes;
        std::uint64_t others = 0;
        for (std::size_t from = trigger + 1; from < FLength; from = (from / 64 + 1) * 64) {
            const std::size_t word = from / 64;
            const std::uint64_t keep = ~std::uint64_t{0} << (from % 64);
            const std::uint64_t ends = FMarks[word].Ends & keep;
            const std::uint64_t passed = keep & (ends != 0 ? (ends & (0 - ends)) - 1 : ~std::uint64_t{0});
            others |= FMarks[word].*other & passed;
            if (ends != 0) {
                slashAndDot = others != 0;
                return word * 64 + static_cast<std::size_t>(__builtin_ctzll(ends));
            }
        }
        slashAndDot = others != 0;
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
        carefulStart = lf == TMarkedWindow::None ? 0 : lf + 1;
        carefulEnd = marks.Next(careful, &TFieldMarks::Lines);
    };
    findCareful(0);
    std::size_t done = 0;  // the end of the last field or whole line
    for (;;) {
        const TMarkedWindow::TTriggerFound found = marks.NextTrigger(done);
        const std::size_t trigger = found.Trigger;
        if (carefulStart < length && trigger >= carefulStart) {
            if (window[carefulStart] == kernels::CtrlZ)
                return false;
            onLine(window.substr(carefulStart, carefulEnd - carefulStart));
            done = carefulEnd;
            findCareful(done);
            continue;
        }
        if (trigger >= length)
            return true;
        // done is a field end, a whole line's LF or the window's start (a
        // line start): the field starts after the last end the search
        // passed, and a new line after the last LF it passed.
        const std::size_t start = found.LastEnd == TMarkedWindow::None ? 0 : found.LastEnd + 1;
        if (found.LastLine != TMarkedWindow::None || done == 0)
            beforeLine(window.data() + (found.LastLine == TMarkedWindow::None ? 0 : found.LastLine + 1));
        bool slashAndDot = false;
        done = marks.FieldEnd(trigger, slashAndDot);
        onField(window.substr(start, done - start), slashAndDot);
    }
}

// Calls, in the order of the block, beforeLine(lineStart) before the first
// field of each line, onField(field, slashAndDot) for each field holding a
// trigger (slashAndDot: it holds both a "/" or め and a "." or る), and
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
