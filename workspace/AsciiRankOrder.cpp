#include "AsciiRankOrder.h"

#include <array>
#include <atomic>
#include <bit>
#include <compare>
#include <cstring>

#include "sorting/LargeBuffer.h"
#include "sorting/RankKeySort.h"
#include "sorting/SampleSort.h"

// A string sort on cached keys: each element carries the ranks of its next
// nine characters packed into one integer. Sorting by that key alone never
// touches a text; elements whose keys are equal form a group that moves on
// to the next nine characters. The texts lie all over memory, and reading
// one costs far more than comparing keys, so the groups advance level by
// level: the next keys of all groups are read in one sweep that asks for the
// items and their texts ahead, keeping many reads under way at once. An
// element is 16 bytes, so that the array a sort of a million items needs
// stays small.

namespace {

using Sorting::RankBits;
using Sorting::RanksPerWord;
using Sorting::ShareStart;

constexpr std::size_t WordsPerKey = 1;
constexpr std::size_t CharsPerKey = WordsPerKey * RanksPerWord;
constexpr std::uint64_t LastCharMask = (1u << RankBits) - 1;

// Compared word by word, first word first.
using TKey = std::array<std::uint64_t, WordsPerKey>;

struct TKeyed {
    TKey Key;
    std::uint32_t Length;
    TItemIndex Index;
};

// How many elements ahead to ask for a text that a loop will read; the item
// holding the text's address is asked for twice as far ahead.
constexpr std::ptrdiff_t PrefetchDistance = 16;

template <bool Backward> class TRankSorter {
public:
    TRankSorter(const TItems& items, const std::uint8_t* ranks) : FItems(items), FRanks(ranks) { }

    TKeyed Make(const std::string& text, TItemIndex index) const
    {
        TKeyed e{{}, static_cast<std::uint32_t>(text.size()), index};
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

    const TItems& FItems;
    const std::uint8_t* FRanks;

    const unsigned char* Data(const TKeyed& e) const
    {
        return reinterpret_cast<const unsigned char*>(FItems[e.Index].Text.data());
    }

    const unsigned char* AddressAt(const TKeyed& e, std::size_t pos) const
    {
        return Backward ? Data(e) + e.Length - 1 - pos : Data(e) + pos;
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

    bool ExactLess(const TKeyed& a, const TKeyed& b) const
    {
        return ExactBytesLess(FItems[a.Index].Text, FItems[b.Index].Text,
                              Backward ? TReading::Backward : TReading::Forward);
    }
};

// Walks the elements of all groups in order, across the ends of groups;
// groups are never empty.
template <class TGroups> class TGroupCursor {
public:
    TGroupCursor(const TGroups& groups, std::ptrdiff_t ahead)
        : FGroups(groups), FGroup(groups.begin()), FAt(groups.empty() ? nullptr : groups.front().Begin)
    {
        for (std::ptrdiff_t i = 0; i < ahead; ++i)
            Advance();
    }
    const TKeyed* Current() const { return FGroup != FGroups.end() ? FAt : nullptr; }
    void Advance()
    {
        if (FGroup == FGroups.end())
            return;
        if (++FAt == FGroup->End && ++FGroup != FGroups.end())
            FAt = FGroup->Begin;
    }

private:
    const TGroups& FGroups;
    typename TGroups::const_iterator FGroup;
    const TKeyed* FAt;
};

// All groups' keys in one sweep. Two cursors run ahead: the far one asks for
// the item, the near one, by then, for the item's text.
template <bool Backward>
void TRankSorter<Backward>::RefreshKeys(const std::vector<TGroup>& groups, std::size_t depth) const
{
    using TCursor = TGroupCursor<std::vector<TGroup>>;
    TCursor farAhead(groups, 2 * PrefetchDistance), nearAhead(groups, PrefetchDistance);
    for (const TGroup& group : groups) {
        for (TKeyed* e = group.Begin; e < group.End; ++e) {
            if (const TKeyed* item = farAhead.Current())
                __builtin_prefetch(&FItems[item->Index]);
            if (const TKeyed* text = nearAhead.Current(); text && text->Length > depth)
                __builtin_prefetch(AddressAt(*text, depth));
            farAhead.Advance();
            nearAhead.Advance();
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
            Sorting::RankKeySort(
                group.Begin, group.End, [](const TKeyed& e) -> const TKey& { return e.Key; },
                [&](TKeyed* first, TKeyed* last) {
                    if (Ended(first->Key))  // the same ranks all through: exact duplicates or case variants
                        std::sort(first, last,
                                  [this](const TKeyed& a, const TKeyed& b) { return ExactLess(a, b); });
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
    const TRankSorter<Backward> sorter(items, ranks);
    const std::size_t count = items.size();
    Sorting::TLargeBuffer<TKeyed> keyed(count);
    std::vector<std::vector<TItemIndex>> others(workers);
    std::vector<std::size_t> keyedInShare(workers);
    std::atomic<std::size_t> otherCount{0};
    Sorting::RunInParallel(workers, [&](std::size_t w) {
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
    Sorting::SampleSort(
        keyed.Data(), keyed.Data() + kept, workers,
        [](const TKeyed& a, const TKeyed& b) { return a.Key < b.Key; },
        [&](TKeyed* begin, TKeyed* end) { sorter.Sort(begin, end); });
    order.Printable.resize(kept);
    for (std::size_t i = 0; i < kept; ++i)
        order.Printable[i] = keyed[i].Index;
    return order;
}

}  // namespace

std::optional<TPrintableOrder> OrderPrintableItems(const TItems& items, TReading reading,
                                                   const TAsciiRanks& ascii, std::size_t workers,
                                                   std::size_t mostOther)
{
    if (reading == TReading::Forward)
        return Order<false>(items, ascii.Ranks(), workers, mostOther);
    return Order<true>(items, ascii.Ranks(), workers, mostOther);
}
