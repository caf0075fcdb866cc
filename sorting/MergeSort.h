#pragma once
// Sorting on several workers where comparisons are dear: each worker sorts
// its share, then the sorted shares are merged pairwise, every merge cut
// into pieces that the workers take at once. Beyond one sort's comparisons
// this costs one merge pass per doubling, with no comparisons spent on
// cutting the elements into ranges first.
#include <algorithm>
#include <vector>

#include "ParallelWork.h"

namespace Sorting {

// The number of elements of `a` among the first `k` of the merge of a and b,
// where ties take from a first.
template <class T, class TLess>
std::size_t MergeCut(const T* a, std::size_t aCount, const T* b, std::size_t bCount, std::size_t k,
                     const TLess& less)
{
    std::size_t low = k > bCount ? k - bCount : 0, high = std::min(k, aCount);
    while (low < high) {
        const std::size_t i = low + (high - low) / 2;
        if (less(b[k - i - 1], a[i]))
            high = i;
        else
            low = i + 1;
    }
    return low;
}

// Puts [begin, end) in the order of `less`, a strict weak order.
template <class T, class TLess> void MergeSort(T* begin, T* end, std::size_t workers, const TLess& less)
{
    const auto count = static_cast<std::size_t>(end - begin);
    if (workers < 2 || count < 2 * workers) {
        std::sort(begin, end, less);
        return;
    }
    std::vector<std::size_t> runStart(workers + 1);
    for (std::size_t w = 0; w <= workers; ++w)
        runStart[w] = ShareStart(count, workers, w);
    RunInParallel(workers,
                  [&](std::size_t w) { std::sort(begin + runStart[w], begin + runStart[w + 1], less); });

    std::vector<T> merged(count);
    T* from = begin;
    T* to = merged.data();
    while (runStart.size() > 2) {
        // Each pair of neighbouring runs becomes one; an odd last run is copied.
        struct TPiece {
            std::size_t A, AEnd, B, BEnd, Out;
        };
        std::vector<TPiece> pieces;
        std::vector<std::size_t> mergedStart;
        const std::size_t runs = runStart.size() - 1, pairs = (runs + 1) / 2;
        const std::size_t piecesPerPair = std::max<std::size_t>(1, workers / pairs);
        for (std::size_t r = 0; r < runs; r += 2) {
            const std::size_t a = runStart[r], b = runStart[r + 1], bEnd = runStart[std::min(r + 2, runs)];
            mergedStart.push_back(a);
            for (std::size_t p = 0; p < piecesPerPair; ++p) {
                const std::size_t k = (bEnd - a) * p / piecesPerPair,
                                  kEnd = (bEnd - a) * (p + 1) / piecesPerPair;
                const std::size_t i = MergeCut(from + a, b - a, from + b, bEnd - b, k, less);
                const std::size_t iEnd = MergeCut(from + a, b - a, from + b, bEnd - b, kEnd, less);
                pieces.push_back({a + i, a + iEnd, b + (k - i), b + (kEnd - iEnd), a + k});
            }
        }
        mergedStart.push_back(count);
        RunInParallel(pieces.size(), [&](std::size_t p) {
            const TPiece& piece = pieces[p];
            std::merge(from + piece.A, from + piece.AEnd, from + piece.B, from + piece.BEnd, to + piece.Out,
                       less);
        });
        runStart = std::move(mergedStart);
        std::swap(from, to);
    }
    if (from != begin)
        std::copy(from, from + count, begin);
}

}  // namespace Sorting
