#include "ListSorting.h"

#include <algorithm>
#include <numeric>

#include <QCollator>
#include <QCollatorSortKey>
#include <QLocale>

#include "Cp932.h"

// Items are CP932 bytes, but a reversed item (backward sort) is usually not
// valid CP932: its double-byte characters come out trail byte first. Such
// bytes decode as U+FFFD, one per undecodable byte, which collates after
// letters, digits and kana; items that then collate equal fall back to
// their exact bytes, so the order stays total and repeatable.

std::vector<std::uint32_t> AscendingOrder(const std::vector<TUrlList::TItem>& items)
{
    QCollator collator{QLocale(QLocale::Japanese, QLocale::Japan)};
    collator.setCaseSensitivity(Qt::CaseInsensitive);

    // One key per item, computed once: comparing keys is far cheaper than
    // collating the strings at every comparison of the sort.
    std::vector<QCollatorSortKey> keys;
    keys.reserve(items.size());
    for (const TUrlList::TItem& item : items)
        keys.push_back(collator.sortKey(FromCp932(item.Text)));

    std::vector<std::uint32_t> order(items.size());
    std::iota(order.begin(), order.end(), std::uint32_t{0});
    std::sort(order.begin(), order.end(), [&](std::uint32_t a, std::uint32_t b) {
        const int byKey = keys[a].compare(keys[b]);
        if (byKey != 0)
            return byKey < 0;
        return items[a].Text < items[b].Text;
    });
    return order;
}

void SortItemsAscending(std::vector<TUrlList::TItem>& items)
{
    const std::vector<std::uint32_t> order = AscendingOrder(items);

    std::vector<TUrlList::TItem> sorted;
    sorted.reserve(items.size());
    for (std::uint32_t index : order)
        sorted.push_back(std::move(items[index]));
    items = std::move(sorted);
}

void SortItemsByEnding(std::vector<TUrlList::TItem>& items)
{
    for (TUrlList::TItem& item : items)
        std::reverse(item.Text.begin(), item.Text.end());
    SortItemsAscending(items);
    for (TUrlList::TItem& item : items)
        std::reverse(item.Text.begin(), item.Text.end());
}

std::vector<std::uint32_t> EndingOrder(std::vector<TUrlList::TItem>& items)
{
    for (TUrlList::TItem& item : items)
        std::reverse(item.Text.begin(), item.Text.end());
    std::vector<std::uint32_t> order = AscendingOrder(items);
    for (TUrlList::TItem& item : items)
        std::reverse(item.Text.begin(), item.Text.end());
    return order;
}
