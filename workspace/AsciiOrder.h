#pragma once
// The collation order of items made only of printable ASCII, computed from
// character ranks alone.
#include <optional>

#include "CollationOrder.h"
#include "ListCollation.h"

bool IsPrintableAscii(std::string_view text);

struct TPrintableOrder {
    std::vector<TItemIndex> Printable;  // in collation order
    std::vector<TItemIndex> Other;      // in list order
};

// Orders the printable ASCII items; gives up, returning none, as soon as
// more than `mostOther` items turn out not to be.
std::optional<TPrintableOrder> OrderPrintableItems(const TItems& items, TReading reading,
                                                   const TAsciiCollation& ascii, std::size_t workers,
                                                   std::size_t mostOther);
