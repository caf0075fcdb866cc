// The parallel sorts against std::sort, on inputs with many equal keys and
// on every split into workers, including more workers than pay off.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <mutex>
#include <random>
#include <set>
#include <utility>
#include <vector>

#include "sorting/MergeSort.h"
#include "sorting/RankKeySort.h"
#include "sorting/SampleSort.h"

namespace {

using namespace Sorting;

// A key with many repeats and the element's original position, which the
// order ignores: equal keys must stay together without being told apart.
using TElement = std::pair<int, std::size_t>;

bool KeyLess(const TElement& a, const TElement& b)
{
    return a.first < b.first;
}

std::vector<TElement> RandomElements(std::size_t count, unsigned seed)
{
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> key(0, static_cast<int>(count / 4 + 1));
    std::vector<TElement> elements;
    for (std::size_t i = 0; i < count; ++i)
        elements.emplace_back(key(random), i);
    return elements;
}

// The same elements, in key order.
void ExpectSortedPermutation(std::vector<TElement> sorted, std::vector<TElement> original, const char* what)
{
    EXPECT_TRUE(std::is_sorted(sorted.begin(), sorted.end(), KeyLess)) << what;
    std::sort(sorted.begin(), sorted.end());
    std::sort(original.begin(), original.end());
    EXPECT_EQ(sorted, original) << what;
}

constexpr std::size_t Counts[] = {0, 1, 2, 5, 33, 1000, 4099};
constexpr std::size_t Workers[] = {1, 2, 3, 4, 7};

TEST(MergeSort, SortsLikeStdSortOnAnySplit)
{
    unsigned seed = 1;
    for (std::size_t count : Counts) {
        for (std::size_t workers : Workers) {
            const std::vector<TElement> original = RandomElements(count, seed++);
            std::vector<TElement> sorted = original;
            MergeSort(sorted.data(), sorted.data() + sorted.size(), workers, KeyLess);
            ExpectSortedPermutation(sorted, original, "merge sort");
        }
    }
}

TEST(SampleSort, SortsLikeStdSortAndKeepsEqualKeysInOneRange)
{
    unsigned seed = 100;
    for (std::size_t count : Counts) {
        for (std::size_t workers : Workers) {
            const std::vector<TElement> original = RandomElements(count, seed++);
            std::vector<TElement> sorted = original;
            std::vector<std::set<int>> rangeKeys;
            std::mutex ranges;
            SampleSort(sorted.data(), sorted.data() + sorted.size(), workers, KeyLess,
                       [&](TElement* begin, TElement* end) {
                           std::sort(begin, end, KeyLess);
                           std::set<int> keys;
                           for (const TElement* e = begin; e < end; ++e)
                               keys.insert(e->first);
                           const std::lock_guard<std::mutex> lock(ranges);
                           rangeKeys.push_back(std::move(keys));
                       });
            ExpectSortedPermutation(sorted, original, "sample sort");
            std::set<int> seen;
            for (const std::set<int>& keys : rangeKeys)
                for (int key : keys)
                    EXPECT_TRUE(seen.insert(key).second) << "key " << key << " in two ranges";
        }
    }
}

// Keys of two words of nine 7-bit ranks each, drawn from few ranks and
// sharing their first word often, so that they part at every depth.
using TRankKey = std::array<std::uint64_t, 2>;

std::uint64_t RankWord(std::mt19937& random, bool shared)
{
    if (shared)
        return 0x0123456789ABCDEFu & ((std::uint64_t{1} << 63) - 1);
    std::uint64_t word = 0;
    for (std::size_t i = 0; i < RanksPerWord; ++i)
        word = word << RankBits | (random() % 3 ? random() % 4 : random() % 128);
    return word;
}

TEST(RankKeySort, SortsByKeyAndReportsEveryRunOfEqualKeys)
{
    unsigned seed = 200;
    for (std::size_t count : {0u, 1u, 2u, 31u, 32u, 33u, 500u, 5000u}) {
        std::mt19937 random(seed++);
        std::vector<TRankKey> keys(count);
        for (TRankKey& key : keys)
            key = {RankWord(random, random() % 2 == 0), RankWord(random, false)};
        for (std::size_t i = 1; i < count; i += 3)
            keys[i] = keys[random() % i];  // repeats

        std::vector<TRankKey> sorted = keys;
        std::vector<std::pair<std::size_t, std::size_t>> runs;
        RankKeySort(
            sorted.data(), sorted.data() + sorted.size(),
            [](const TRankKey& key) -> const TRankKey& { return key; },
            [&](TRankKey* first, TRankKey* last) {
                runs.emplace_back(first - sorted.data(), last - sorted.data());
            });
        std::vector<TRankKey> expected = keys;
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(sorted, expected) << count << " keys";

        std::vector<std::pair<std::size_t, std::size_t>> expectedRuns;
        for (std::size_t at = 0; at < count;) {
            std::size_t end = at + 1;
            while (end < count && expected[end] == expected[at])
                ++end;
            if (end - at > 1)
                expectedRuns.emplace_back(at, end);
            at = end;
        }
        std::sort(runs.begin(), runs.end());
        EXPECT_EQ(runs, expectedRuns) << count << " keys";
    }
}

}  // namespace
