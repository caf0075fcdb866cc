#pragma once
// Sorting elements by a key that is cheap to compare and often shared by
// many elements: a three-way quicksort, which handles each run of equal keys
// once, with insertion sort for short ranges. A bad run of pivots hands a
// range over to std::sort, so the worst case stays n log n.
#include <algorithm>
#include <bit>
#include <cstddef>
#include <utility>
#include <vector>

template <class TElement, class TKeyOf> void SortByKey(TElement* begin, TElement* end, const TKeyOf& keyOf)
{
    constexpr std::ptrdiff_t SmallRange = 16;
    auto less = [&](const TElement& a, const TElement& b) { return keyOf(a) < keyOf(b); };
    auto median = [](const auto& a, const auto& b, const auto& c) {
        return std::max(std::min(a, b), std::min(std::max(a, b), c));
    };
    struct TRange {
        TElement* Begin;
        TElement* End;
        int PartitionsLeft;
    };
    auto budget = [](std::ptrdiff_t n) {
        return 2 * static_cast<int>(std::bit_width(static_cast<std::size_t>(n)));
    };

    std::vector<TRange> ranges{{begin, end, budget(end - begin)}};
    while (!ranges.empty()) {
        const TRange range = ranges.back();
        ranges.pop_back();
        const std::ptrdiff_t n = range.End - range.Begin;
        if (n <= SmallRange) {
            for (TElement* i = range.Begin + 1; i < range.End; ++i) {
                TElement moving = std::move(*i);
                TElement* j = i;
                for (; j > range.Begin && less(moving, j[-1]); --j)
                    *j = std::move(j[-1]);
                *j = std::move(moving);
            }
            continue;
        }
        if (range.PartitionsLeft == 0) {
            std::sort(range.Begin, range.End, less);
            continue;
        }

        const std::ptrdiff_t step = n / 8;
        auto at = [&](std::ptrdiff_t i) { return keyOf(range.Begin[i]); };
        const auto pivot =
            median(median(at(0), at(step), at(2 * step)), median(at(3 * step), at(4 * step), at(5 * step)),
                   median(at(6 * step), at(7 * step), at(n - 1)));
        TElement* lower = range.Begin;
        TElement* higher = range.End;
        for (TElement* e = range.Begin; e < higher;) {
            const auto order = keyOf(*e) <=> pivot;
            if (order < 0)
                std::swap(*lower++, *e++);
            else if (order > 0)
                std::swap(*e, *--higher);
            else
                ++e;
        }
        ranges.push_back({range.Begin, lower, range.PartitionsLeft - 1});
        ranges.push_back({higher, range.End, range.PartitionsLeft - 1});
    }
}
