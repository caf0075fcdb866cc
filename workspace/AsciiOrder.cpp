#include "AsciiOrder.h"

#include <array>
#include <atomic>
#include <bit>
#include <compare>
#include <cstring>

#include "LargeArray.h"
#include "RankKeySort.h"
#include "SampleSort.h"

// A string sort on cached keys: each element carries the ranks of its next
// 27 characters packed into three integers. Sorting by that key alone
// never touches a text; elements whose keys are equal form a group that
// moves on to the next 27 characters. The texts lie all over memory,
// and reading one costs far more than comparing keys, so the groups advance
// level by level: the next keys of all groups are read in one sweep that
// asks for the texts ahead, keeping many reads under way at once.

namespace {

constexpr std::size_t WordsPerKey = 1;
constexpr std::size_t CharsPerKey = WordsPerKey * RanksPerWord;
constexpr std::uint64_t LastCharMask = (1u << RankBits) - 1;

// Compared word by word, first word first.
using TKey = std::array<std::uint64_t, WordsPerKey>;

struct TKeyed {
    TKey Key;
    const unsigned char* Data;
    std::uint32_t Length;
    TItemIndex Index;
};

// How many elements ahead to ask for a text that a loop will read.
constexpr std::ptrdiff_t PrefetchDistance = 16;

template <bool Backward> class TRankSorter {
public:
    explicit TRankSorter(const std::uint8_t* ranks) : FRanks(ranks) { }

    TKeyed Make(const std::string& text, TItemIndex index) const
    {
        TKeyed e{{},
                 reinterpret_cast<const unsigned char*>(text.data()),
                 static_cast<std::uint32_t>(text.size()),
                 index};
        e.Key = KeyAt(e, 0);
        return e;
    }

    // Sorts elements whose keys hold their first characters.
    void Sort(TKeyed* begin, TKeyed* end) const;

private:
    struct TGroup {
        TKeyed* Begin;
        TKeyed* End;
    };

    const std::uint8_t* FRanks;

    static const unsigned char* AddressAt(const TKeyed& e, std::size_t pos)
    {
        return Backward ? e.Data + e.Length - 1 - pos : e.Data + pos;
    }

    std::uint64_t WordAt(const TKeyed& e, std::size_t depth) const
    {
        if (depth >= e.Length)
            return 0;
        const std::size_t stop = std::min<std::size_t>(e.Length, depth + RanksPerWord);
        std::uint64_t word = 0;
        for (std::size_t pos = depth; pos < stop; ++pos)
            word = word << RankBits | FRanks[*AddressAt(e, pos)];
        return word << (RankBits * (depth + RanksPerWord - stop));
    }

    TKey KeyAt(const TKeyed& e, std::size_t depth) const
    {
        TKey key;
        for (std::size_t word = 0; word < WordsPerKey; ++word)
            key[word] = WordAt(e, depth + word * RanksPerWord);
        return key;
    }

    void RefreshKeys(const std::vector<TGroup>& groups, std::size_t depth) const;

    // A key whose last character is 0 stands for a text that ended in it.
    static bool Ended(const TKey& key) { return (key.back() & LastCharMask) == 0; }

    static bool ExactLess(const TKeyed& a, const TKeyed& b)
    {
        return ExactBytesLess({reinterpret_cast<const char*>(a.Data), a.Length},
                              {reinterpret_cast<const char*>(b.Data), b.Length},
                              Backward ? TReading::Backward : TReading::Forward);
    }
};

// All groups' keys in one sweep; `ahead` runs PrefetchDistance elements in
// front, across the ends of groups.
template <bool Backward>
void TRankSorter<Backward>::RefreshKeys(const std::vector<TGroup>& groups, std::size_t depth) const
{
    auto aheadGroup = groups.begin();
    TKeyed* ahead = groups.empty() ? nullptr : aheadGroup->Begin;
    auto advanceAhead = [&] {
        if (aheadGroup == groups.end())
            return;
        if (++ahead == aheadGroup->End && ++aheadGroup != groups.end())
            ahead = aheadGroup->Begin;
    };
    for (std::ptrdiff_t i = 0; i < PrefetchDistance; ++i)
        advanceAhead();
    for (const TGroup& group : groups) {
        for (TKeyed* e = group.Begin; e < group.End; ++e) {
            if (aheadGroup != groups.end() && ahead->Length > depth)
                __builtin_prefetch(AddressAt(*ahead, depth));
            advanceAhead();
            e->Key = KeyAt(*e, depth);
        }
    }
}

template <bool Backward> void TRankSorter<Backward>::Sort(TKeyed* begin, TKeyed* end) const
{
    std::vector<TGroup> groups{{begin, end}}, next;
    for (std::size_t depth = 0; !groups.empty(); depth += CharsPerKey) {
        if (depth > 0)
            RefreshKeys(groups, depth);
        next.clear();
        for (const TGroup& group : groups) {
            SortByRankKey(
                group.Begin, group.End, [](const TKeyed& e) -> const TKey& { return e.Key; },
                [&](TKeyed* first, TKeyed* last) {
                    if (Ended(first->Key))  // the same ranks all through: exact duplicates or case variants
                        std::sort(first, last, ExactLess);
                    else
                        next.push_back({first, last});
                });
        }
        groups.swap(next);
    }
}

// Keys every printable item in one pass over the texts, each worker writing
// its share's elements where the share starts; the shares are then closed up.
template <bool Backward>
std::optional<TPrintableOrder> Order(const TItems& items, const std::uint8_t* ranks, std::size_t workers,
                                     std::size_t mostOther)
{
    const TRankSorter<Backward> sorter(ranks);
    const std::size_t count = items.size();
    TLargeBuffer<TKeyed> keyed(count);
    std::vector<std::vector<TItemIndex>> others(workers);
    std::vector<std::size_t> keyedInShare(workers);
    std::atomic<std::size_t> otherCount{0};
    RunInParallel(workers, [&](std::size_t w) {
        const std::size_t end = ShareStart(count, workers, w + 1);
        TKeyed* out = keyed.Data() + ShareStart(count, workers, w);
        for (std::size_t i = ShareStart(count, workers, w); i < end; ++i) {
            if (i + static_cast<std::size_t>(PrefetchDistance) < end)
                __builtin_prefetch(items[i + static_cast<std::size_t>(PrefetchDistance)].Text.data());
            const std::string& text = items[i].Text;
            if (IsPrintableAscii(text)) {
                *out++ = sorter.Make(text, static_cast<TItemIndex>(i));
            } else {
                others[w].push_back(static_cast<TItemIndex>(i));
                if (++otherCount > mostOther)
                    return;
            }
        }
        keyedInShare[w] = static_cast<std::size_t>(out - (keyed.Data() + ShareStart(count, workers, w)));
    });
    if (otherCount > mostOther)
        return std::nullopt;

    TPrintableOrder order;
    std::size_t kept = 0;
    for (std::size_t w = 0; w < workers; ++w) {
        std::memmove(keyed.Data() + kept, keyed.Data() + ShareStart(count, workers, w),
                     keyedInShare[w] * sizeof(TKeyed));
        kept += keyedInShare[w];
        order.Other.insert(order.Other.end(), others[w].begin(), others[w].end());
    }

    // The workers' ranges are ranges of keys, so no text is read to cut them.
    SampleSort(
        keyed.Data(), keyed.Data() + kept, workers,
        [](const TKeyed& a, const TKeyed& b) { return a.Key < b.Key; },
        [&](TKeyed* begin, TKeyed* end) { sorter.Sort(begin, end); });
    order.Printable.resize(kept);
    for (std::size_t i = 0; i < kept; ++i)
        order.Printable[i] = keyed[i].Index;
    return order;
}

}  // namespace

bool IsPrintableAscii(std::string_view text)
{
    // A byte outside 0x20 to 0x7E sets the top bit of itself, of itself plus
    // one or of itself minus 0x20. No early exit: the loop then runs on whole
    // vectors of bytes.
    unsigned char outside = 0;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        outside |= static_cast<unsigned char>(byte | static_cast<unsigned char>(byte + 1u)
                                              | static_cast<unsigned char>(byte - 0x20u));
    }
    return (outside & 0x80u) == 0 && text.size() <= UINT32_MAX;
}

std::optional<TPrintableOrder> OrderPrintableItems(const TItems& items, TReading reading,
                                                   const TAsciiCollation& ascii, std::size_t workers,
                                                   std::size_t mostOther)
{
    if (reading == TReading::Forward)
        return Order<false>(items, ascii.Ranks(), workers, mostOther);
    return Order<true>(items, ascii.Ranks(), workers, mostOther);
}
