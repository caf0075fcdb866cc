#pragma once
// Reordering the whole list by the list's collation (see ListCollation.h).
#include <vector>

#include "UrlList.h"

void SortItemsAscending(std::vector<TUrlList::TItem>& items);
// Orders items as read from their last byte backwards.
void SortItemsByEnding(std::vector<TUrlList::TItem>& items);
// Sorts ascending and keeps one item of each set of exact duplicates.
void RemoveDuplicateItems(std::vector<TUrlList::TItem>& items);
