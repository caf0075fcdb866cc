#pragma once
// Sorting by keys of character ranks below 128, packed nine to a 64-bit word,
// first character highest, first word first. A most-significant-digit radix
// sort: one pass over a range finds the first character in which its keys
// differ, so a prefix that all of them share costs nothing more; the range
// is then split by that character, in place, into up to 128 ranges that go
// on the same way. Short ranges take insertion sort.
#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <type_traits>
#include <utility>
#include <vector>

namespace Sorting {

constexpr unsigned RankBits = 7;
constexpr std::size_t RanksPerWord = 9;

// Puts [begin, end) in key order and calls equalRun(first, last) for every
// run of two or more elements with equal keys. keyOf(element) gives a
// std::array of words.
template <class TElement, class TKeyOf, class TEqualRun>
void RankKeySort(TElement* begin, TElement* end, const TKeyOf& keyOf, const TEqualRun& equalRun)
{
    using TKey = std::remove_cvref_t<decltype(keyOf(*begin))>;
    constexpr std::size_t Words = std::tuple_size_v<TKey>;
    constexpr std::size_t Ranks = std::size_t{1} << RankBits;
    constexpr std::ptrdiff_t SmallRange = 32;

    if (end - begin < 2)
        return;  // nothing to order; the ranges split off below always hold two or more
    std::vector<std::pair<TElement*, TElement*>> ranges{{begin, end}};
    while (!ranges.empty()) {
        const auto [first, last] = ranges.back();
        ranges.pop_back();
        if (last - first <= SmallRange) {
            for (TElement* i = first + 1; i < last; ++i) {
                TElement moving = std::move(*i);
                TElement* j = i;
                for (; j > first && keyOf(moving) < keyOf(j[-1]); --j)
                    *j = std::move(j[-1]);
                *j = std::move(moving);
            }
            for (TElement* run = first; run < last;) {
                TElement* runEnd = run + 1;
                while (runEnd < last && keyOf(*runEnd) == keyOf(*run))
                    ++runEnd;
                if (runEnd - run > 1)
                    equalRun(run, runEnd);
                run = runEnd;
            }
            continue;
        }

        const TKey reference = keyOf(*first);
        TKey differ{};
        for (const TElement* e = first; e < last; ++e)
            for (std::size_t w = 0; w < Words; ++w)
                differ[w] |= keyOf(*e)[w] ^ reference[w];
        const auto word = static_cast<std::size_t>(
            std::find_if(differ.begin(), differ.end(), [](std::uint64_t bits) { return bits != 0; })
            - differ.begin());
        if (word == Words) {
            equalRun(first, last);
            continue;
        }
        const auto shift = (static_cast<unsigned>(std::bit_width(differ[word])) - 1) / RankBits * RankBits;
        auto rankOf = [&](const TElement& e) {
            return static_cast<std::size_t>(keyOf(e)[word] >> shift) & (Ranks - 1);
        };

        std::array<std::size_t, Ranks> counts{};
        for (const TElement* e = first; e < last; ++e)
            ++counts[rankOf(*e)];
        std::array<TElement*, Ranks> next{}, bucketEnd{};
        TElement* at = first;
        for (std::size_t r = 0; r < Ranks; ++r) {
            next[r] = at;
            at += counts[r];
            bucketEnd[r] = at;
        }
        // Each element is swapped straight to the next free place of its rank.
        for (std::size_t r = 0; r < Ranks; ++r) {
            while (next[r] < bucketEnd[r]) {
                const std::size_t home = rankOf(*next[r]);
                if (home == r)
                    ++next[r];
                else
                    std::swap(*next[r], *next[home]++);
            }
        }
        // Pushed last rank first, so that ranges finish in ascending order.
        for (std::size_t r = Ranks; r-- > 0;)
            if (counts[r] > 1)
                ranges.emplace_back(bucketEnd[r] - counts[r], bucketEnd[r]);
    }
}

}  // namespace Sorting
