#pragma once
// The collation order of any items, through the platform collator's sort
// keys.
#include <optional>

#include <QCollatorSortKey>

#include "CollationOrder.h"

// The collator's key of an item as read in `reading`; items are CP932.
QCollatorSortKey CollatorKey(const QCollator& collator, const std::string& text, TReading reading);

// Puts `indices` in collation order.
void SortByCollatorKeys(const TItems& items, std::vector<TItemIndex>& indices, TReading reading,
                        std::size_t workers);
