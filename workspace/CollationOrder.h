#pragma once
// The order of a whole list under the list's collation (see ListCollation.h).
#include <algorithm>
#include <cstdint>
#include <string_view>
#include <vector>

#include "UrlList.h"

using TItems = std::vector<TUrlList::TItem>;
// An item's position in the list; a list never holds 2^32 items.
using TItemIndex = std::uint32_t;

// Backward reads every item from its last byte to its first.
enum class TReading { Forward, Backward };

// The positions of the items in ascending collation order, items read as
// `reading` says, items that collate equal ordered by their bytes in the same
// reading. `workers` 0 uses as many threads as pay off.
std::vector<TItemIndex> CollationOrder(const TItems& items, TReading reading, std::size_t workers = 0);

// Byte by byte in the given reading, each byte taken as unsigned.
inline bool ExactBytesLess(std::string_view a, std::string_view b, TReading reading)
{
    if (reading == TReading::Forward)
        return a < b;
    return std::lexicographical_compare(a.rbegin(), a.rend(), b.rbegin(), b.rend(), [](char x, char y) {
        return static_cast<unsigned char>(x) < static_cast<unsigned char>(y);
    });
}
