#include "ListSorting.h"

#include "CollationOrder.h"
#include "ParallelWork.h"

namespace {

// Moves the items into a new list in their new order, on every worker: the
// reads are independent of each other, so many are under way at once.
void ApplyOrder(TItems& items, const std::vector<TItemIndex>& order)
{
    TItems reordered(items.size());
    const std::size_t count = items.size(), workers = WorkerCount(count);
    RunInParallel(workers, [&](std::size_t w) {
        for (std::size_t i = ShareStart(count, workers, w); i < ShareStart(count, workers, w + 1); ++i)
            reordered[i] = std::move(items[order[i]]);
    });
    items = std::move(reordered);
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

void RemoveDuplicateItems(TItems& items)
{
    Sort(items, TReading::Forward);
    // Exact duplicates are adjacent after the sort, so one pass removes them.
    const auto kept =
        std::unique(items.begin(), items.end(),
                    [](const TUrlList::TItem& a, const TUrlList::TItem& b) { return a.Text == b.Text; });
    items.erase(kept, items.end());
}
