#pragma once
// The list's collation: ascending, case-insensitive, Japanese-aware, with
// items that collate equal ordered by their exact bytes so that exact
// duplicates always end up next to each other.
#include <cstdint>
#include <vector>

#include "UrlList.h"

void SortItemsAscending(std::vector<TUrlList::TItem>& items);
// Orders items as read from their last byte backwards.
void SortItemsByEnding(std::vector<TUrlList::TItem>& items);
// The same orders as positions: item i of the sorted list is items[order[i]].
std::vector<std::uint32_t> AscendingOrder(const std::vector<TUrlList::TItem>& items);
std::vector<std::uint32_t> EndingOrder(std::vector<TUrlList::TItem>& items);
