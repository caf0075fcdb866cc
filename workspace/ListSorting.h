#pragma once
// Reordering the whole list by the list's collation (see ListCollation.h).
#include <cstdint>
#include <vector>

#include "UrlList.h"

void SortItemsAscending(std::vector<TUrlList::TItem>& items);
// Orders items as read from their last byte backwards.
void SortItemsByEnding(std::vector<TUrlList::TItem>& items);
// The same orders as positions: item i of the sorted list is items[order[i]].
std::vector<std::uint32_t> AscendingOrder(const std::vector<TUrlList::TItem>& items);
std::vector<std::uint32_t> EndingOrder(const std::vector<TUrlList::TItem>& items);
// Sorts ascending and keeps one item of each set of exact duplicates.
void RemoveDuplicateItems(std::vector<TUrlList::TItem>& items);
