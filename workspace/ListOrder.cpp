#include "ListOrder.h"

#include <algorithm>
#include <numeric>
#include <optional>
#include <stdexcept>
#include <unordered_map>

#include "AsciiRankOrder.h"
#include "CollatorKeyOrder.h"
#include "sorting/ParallelWork.h"

namespace {

using Sorting::ShareStart;
using Sorting::WorkerCount;

// Above this share of other items, keys for all items are cheaper than
// looking up the neighbours of every other item.
constexpr std::size_t MostOtherItemsPer = 16;

// Places other items among printable ones. Where the other item's leading
// printable characters already differ from the printable item by rank, that
// settles it: the collator reads text from the front. The last of those
// characters is left out, since the byte after it might combine with it.
// Everything else goes through collator keys, computed only for the items
// that are compared.
class TOtherAmongPrintable {
public:
    TOtherAmongPrintable(const TItems& items, TReading reading, const TAsciiRanks& ascii)
        : FItems(items), FReading(reading), FRanks(ascii.Ranks()), FCollator(MakeListCollator())
    { }

    bool Before(TItemIndex other, TItemIndex printable)
    {
        if (const std::optional<bool> byRanks = BeforeByRanks(FItems[other].Text, FItems[printable].Text))
            return *byRanks;
        const int byKey = Key(other).compare(Key(printable));
        if (byKey != 0)
            return byKey < 0;
        return ExactBytesLess(FItems[other].Text, FItems[printable].Text, FReading);
    }

    // The first position in sorted[from, to) whose item comes after `other`,
    // searched outwards from `from`: the next insertion point is usually near.
    std::size_t InsertionPoint(TItemIndex other, const std::vector<TItemIndex>& sorted, std::size_t from,
                               std::size_t to)
    {
        std::size_t low = from, high = to;
        for (std::size_t step = 1; low + step <= to; step *= 2) {
            const std::size_t probe = low + step - 1;
            if (Before(other, sorted[probe])) {
                high = probe;
                break;
            }
            low = probe + 1;
        }
        const auto begin = sorted.begin();
        return static_cast<std::size_t>(
            std::partition_point(begin + static_cast<std::ptrdiff_t>(low),
                                 begin + static_cast<std::ptrdiff_t>(high),
                                 [&](TItemIndex printable) { return !Before(other, printable); })
            - begin);
    }

private:
    unsigned char At(const std::string& text, std::size_t i) const
    {
        return static_cast<unsigned char>(FReading == TReading::Forward ? text[i]
                                                                        : text[text.size() - 1 - i]);
    }

    std::optional<bool> BeforeByRanks(const std::string& other, const std::string& printable) const
    {
        std::size_t lead = 0;
        while (lead < other.size() && FRanks[At(other, lead)] != 0)
            ++lead;
        if (lead == 0)
            return std::nullopt;
        const std::size_t settled = lead - 1;
        for (std::size_t i = 0; i < settled && i < printable.size(); ++i) {
            const std::uint8_t rankOther = FRanks[At(other, i)], rankPrintable = FRanks[At(printable, i)];
            if (rankOther != rankPrintable)
                return rankOther < rankPrintable;
        }
        if (printable.size() < settled)
            return false;  // the printable item is a prefix of the other's settled characters
        return std::nullopt;
    }

    const QCollatorSortKey& Key(TItemIndex index)
    {
        auto found = FKeys.find(index);
        if (found == FKeys.end())
            found = FKeys.emplace(index, CollatorKey(FCollator, FItems[index].Text, FReading)).first;
        return found->second;
    }

    const TItems& FItems;
    TReading FReading;
    const std::uint8_t* FRanks;
    QCollator FCollator;
    std::unordered_map<TItemIndex, QCollatorSortKey> FKeys;
};

// Inserts the few other items among the many printable ones, both already in
// order. Each worker inserts a share of the other items into the stretch of
// printable items that lies between them.
std::vector<TItemIndex> Merge(const TItems& items, const std::vector<TItemIndex>& printable,
                              const std::vector<TItemIndex>& other, TReading reading,
                              const TAsciiRanks& ascii, std::size_t workers)
{
    workers = std::min(workers, other.size());
    std::vector<std::size_t> stretchStart(workers + 1, printable.size());
    TOtherAmongPrintable cuts(items, reading, ascii);
    stretchStart[0] = 0;
    for (std::size_t w = 1; w < workers; ++w)
        stretchStart[w] = cuts.InsertionPoint(other[ShareStart(other.size(), workers, w)], printable,
                                              stretchStart[w - 1], printable.size());

    std::vector<TItemIndex> merged(printable.size() + other.size());
    Sorting::RunInParallel(workers, [&](std::size_t w) {
        TOtherAmongPrintable comparison(items, reading, ascii);
        std::size_t next = stretchStart[w];
        auto out = merged.begin() + static_cast<std::ptrdiff_t>(next + ShareStart(other.size(), workers, w));
        auto copyPrintable = [&](std::size_t to) {
            out = std::copy(printable.begin() + static_cast<std::ptrdiff_t>(next),
                            printable.begin() + static_cast<std::ptrdiff_t>(to), out);
            next = to;
        };
        for (std::size_t i = ShareStart(other.size(), workers, w);
             i < ShareStart(other.size(), workers, w + 1); ++i) {
            copyPrintable(comparison.InsertionPoint(other[i], printable, next, stretchStart[w + 1]));
            *out++ = other[i];
        }
        copyPrintable(stretchStart[w + 1]);
    });
    return merged;
}

}  // namespace

std::vector<TItemIndex> ListOrder(const TItems& items, TReading reading, std::size_t workers)
{
    if (items.size() > UINT32_MAX)
        throw std::length_error("list too long to sort");
    if (workers == 0)
        workers = WorkerCount(items.size());
    if (items.size() < 2)
        return std::vector<TItemIndex>(items.size(), 0);

    if (const TAsciiRanks* ascii = TAsciiRanks::OfListCollator()) {
        std::optional<TPrintableOrder> order =
            OrderPrintableItems(items, reading, *ascii, workers, items.size() / MostOtherItemsPer);
        if (order && order->Other.empty())
            return std::move(order->Printable);
        if (order) {
            SortByCollatorKeys(items, order->Other, reading,
                               std::min(workers, WorkerCount(order->Other.size())));
            return Merge(items, order->Printable, order->Other, reading, *ascii, workers);
        }
    }
    std::vector<TItemIndex> order(items.size());
    std::iota(order.begin(), order.end(), TItemIndex{0});
    SortByCollatorKeys(items, order, reading, workers);
    return order;
}

std::vector<std::size_t> LaterDuplicates(const TItems& ordered)
{
    std::vector<std::size_t> later;
    for (std::size_t i = 1; i < ordered.size(); ++i)
        if (ordered[i].Text == ordered[i - 1].Text)
            later.push_back(i);
    return later;
}
