#include "ListSorting.h"

#include <new>

#include "CollationOrder.h"
#include "LargeArray.h"
#include "ParallelWork.h"

namespace {

// How far ahead the gather asks for the items it will move.
constexpr std::size_t AheadInOrder = 16;

// Moves the items out in their new order and back, on every worker: the
// reads of the first pass are independent of each other, so many are under
// way at once. The items stay in the list's own array, whose memory is
// already there; the temporary one takes huge pages.
void ApplyOrder(TItems& items, const std::vector<TItemIndex>& order)
{
    using TItem = TUrlList::TItem;
    const std::size_t count = items.size(), workers = WorkerCount(count);
    THugePageAllocator<TItem> allocator;
    TItem* moved = allocator.allocate(count);
    RunInParallel(workers, [&](std::size_t w) {
        const std::size_t end = ShareStart(count, workers, w + 1);
        for (std::size_t i = ShareStart(count, workers, w); i < end; ++i) {
            if (i + AheadInOrder < end)
                __builtin_prefetch(&items[order[i + AheadInOrder]], 1);
            new (moved + i) TItem(std::move(items[order[i]]));
        }
    });
    RunInParallel(workers, [&](std::size_t w) {
        for (std::size_t i = ShareStart(count, workers, w); i < ShareStart(count, workers, w + 1); ++i) {
            items[i] = std::move(moved[i]);
            moved[i].~TItem();
        }
    });
    allocator.deallocate(moved, count);
}

void Sort(TItems& items, TReading reading)
{
    ApplyOrder(items, CollationOrder(items, reading));
}

}  // namespace

void SortItemsAscending(TItems& items)
{
    Sort(items, TReading::Forward);
}

void SortItemsByEnding(TItems& items)
{
    Sort(items, TReading::Backward);
}

std::vector<std::uint32_t> AscendingOrder(const TItems& items)
{
    return CollationOrder(items, TReading::Forward);
}

std::vector<std::uint32_t> EndingOrder(const TItems& items)
{
    return CollationOrder(items, TReading::Backward);
}

void RemoveDuplicateItems(TItems& items)
{
    Sort(items, TReading::Forward);
    // Exact duplicates are adjacent after the sort, so one pass removes them.
    const auto kept =
        std::unique(items.begin(), items.end(),
                    [](const TUrlList::TItem& a, const TUrlList::TItem& b) { return a.Text == b.Text; });
    items.erase(kept, items.end());
}
