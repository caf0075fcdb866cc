#include "CollatorKeyOrder.h"

#include <numeric>
#include <optional>

#include <QLocale>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

#include "Cp932.h"
#include "sorting/MergeSort.h"

// Items are CP932, but a reversed item (backward sort) is usually not valid
// CP932: its double-byte characters come out trail byte first. Such bytes
// decode as U+FFFD, one per undecodable byte, which collates after letters,
// digits and kana; items that then collate equal fall back to their exact
// bytes, so the order stays total and repeatable.

QCollator MakeListCollator()
{
    QCollator collator{QLocale(QLocale::Japanese, QLocale::Japan)};
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    return collator;
}

QCollatorSortKey CollatorKey(const QCollator& collator, const std::string& text, TReading reading)
{
    if (reading == TReading::Forward)
        return collator.sortKey(FromCp932(text));
    return collator.sortKey(FromCp932(std::string(text.rbegin(), text.rend())));
}

namespace {

// Positions in `indices`, sorted by the keys of the items there.
std::vector<TItemIndex> SortedPositions(const TItems& items, const std::vector<TItemIndex>& indices,
                                        TReading reading, std::size_t workers)
{
    // One key per item, computed once and on every worker: comparing keys is
    // far cheaper than collating the texts at every comparison.
    const std::size_t count = indices.size();
    std::vector<std::optional<QCollatorSortKey>> keys(count);
    Sorting::RunInParallel(workers, [&](std::size_t w) {
        const QCollator collator = MakeListCollator();  // one each: a collator is not shared between threads
        for (std::size_t i = Sorting::ShareStart(count, workers, w);
             i < Sorting::ShareStart(count, workers, w + 1); ++i)
            keys[i].emplace(CollatorKey(collator, items[indices[i]].Text, reading));
    });

    auto less = [&](TItemIndex a, TItemIndex b) {
        const int byKey = keys[a]->compare(*keys[b]);
        if (byKey != 0)
            return byKey < 0;
        return ExactBytesLess(items[indices[a]].Text, items[indices[b]].Text, reading);
    };
    std::vector<TItemIndex> positions(count);
    std::iota(positions.begin(), positions.end(), TItemIndex{0});
    Sorting::MergeSort(positions.data(), positions.data() + count, workers, less);
    return positions;
}

// The keys were allocated by the workers' threads, whose memory pools the C
// library does not hand back to the system by itself: after a long list,
// hundreds of megabytes would stay with the program.
void HandBackFreedMemory()
{
#if defined(__GLIBC__)
    malloc_trim(0);
#endif
}

}  // namespace

void SortByCollatorKeys(const TItems& items, std::vector<TItemIndex>& indices, TReading reading,
                        std::size_t workers)
{
    std::vector<TItemIndex> positions = SortedPositions(items, indices, reading, workers);
    if (workers > 1)
        HandBackFreedMemory();
    for (TItemIndex& position : positions)
        position = indices[position];
    indices = std::move(positions);
}
