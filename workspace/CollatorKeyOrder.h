#pragma once
// The list's collator, and the order of any items through its sort keys.
#include <string>

#include <QCollator>
#include <QCollatorSortKey>

#include "ListOrder.h"

QCollator MakeListCollator();

// The collator's key of an item as read in `reading`; items are CP932.
QCollatorSortKey CollatorKey(const QCollator& collator, const std::string& text, TReading reading);

// Puts `indices` in the list's order.
void SortByCollatorKeys(const TItems& items, std::vector<TItemIndex>& indices, TReading reading,
                        std::size_t workers);
