#pragma once
// The list's order of items made only of printable ASCII, computed from
// character ranks alone.
#include <optional>

#include "AsciiRanks.h"
#include "ListOrder.h"

struct TPrintableOrder {
    std::vector<TItemIndex> Printable;  // in the list's order
    std::vector<TItemIndex> Other;      // in list order
};

// Orders the printable ASCII items; gives up, returning none, as soon as
// more than `mostOther` items turn out not to be.
std::optional<TPrintableOrder> OrderPrintableItems(const TItems& items, TReading reading,
                                                   const TAsciiRanks& ascii, std::size_t workers,
                                                   std::size_t mostOther);
