#pragma once
// Sorting on several workers without a merge: a sample of the elements picks
// boundaries that cut the order into one range per worker; the elements are
// swapped into their ranges in place, and each worker sorts one range on its
// own.
#include <algorithm>
#include <cstdint>
#include <vector>

#include "ParallelWork.h"

namespace Sorting {

// Puts [begin, end) in order, given `less`, a strict weak order;
// sortRange(begin, end) completes the order of one range. Elements that
// `less` finds equal end up in the same range.
template <class TElement, class TLess, class TSortRange>
void SampleSort(TElement* begin, TElement* end, std::size_t workers, const TLess& less,
                const TSortRange& sortRange)
{
    const auto count = static_cast<std::size_t>(end - begin);
    if (workers < 2 || count < 2 * workers) {
        sortRange(begin, end);
        return;
    }

    // Evenly spaced samples: input already in order still yields good cuts.
    const std::size_t samples = std::min(count, 128 * workers);
    std::vector<TElement> sample;
    for (std::size_t i = 0; i < samples; ++i)
        sample.push_back(begin[i * count / samples]);
    std::sort(sample.begin(), sample.end(), less);
    std::vector<TElement> cuts;
    for (std::size_t w = 1; w < workers; ++w)
        cuts.push_back(sample[w * samples / workers]);
    auto rangeOf = [&](const TElement& e) {
        return static_cast<std::size_t>(std::upper_bound(cuts.begin(), cuts.end(), e, less) - cuts.begin());
    };

    std::vector<std::vector<std::size_t>> counts(workers, std::vector<std::size_t>(workers));
    RunInParallel(workers, [&](std::size_t w) {
        for (std::size_t i = ShareStart(count, workers, w); i < ShareStart(count, workers, w + 1); ++i)
            ++counts[w][rangeOf(begin[i])];
    });
    std::vector<std::size_t> rangeStart(workers + 1), next(workers);
    for (std::size_t r = 0; r < workers; ++r) {
        rangeStart[r + 1] = rangeStart[r];
        for (std::size_t w = 0; w < workers; ++w)
            rangeStart[r + 1] += counts[w][r];
        next[r] = rangeStart[r];
    }

    // Each element is swapped straight to the next free place of its range.
    for (std::size_t r = 0; r < workers; ++r) {
        while (next[r] < rangeStart[r + 1]) {
            const std::size_t home = rangeOf(begin[next[r]]);
            if (home == r)
                ++next[r];
            else
                std::swap(begin[next[r]], begin[next[home]++]);
        }
    }
    RunInParallel(workers,
                  [&](std::size_t r) { sortRange(begin + rangeStart[r], begin + rangeStart[r + 1]); });
}

}  // namespace Sorting
