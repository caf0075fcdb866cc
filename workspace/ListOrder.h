#pragma once
// The order of the list: ascending, case-insensitive, Japanese-aware (the
// platform collator), with items that collate equal ordered by their exact
// bytes so that exact duplicates always end up next to each other. The list
// operations reach the collation through here alone; behind it, items of
// printable ASCII sort by character ranks (AsciiRankOrder.h), any others by
// collator keys (CollatorKeyOrder.h).
#include <algorithm>
#include <cstdint>
#include <string_view>
#include <vector>

#include "engine/UrlList.h"

using TItems = std::vector<TUrlList::TItem>;
// An item's position in the list; a list never holds 2^32 items.
using TItemIndex = std::uint32_t;

// Backward reads every item from its last byte to its first.
enum class TReading { Forward, Backward };

// The positions of the items in the list's order, items read as `reading`
// says: item i of the ordered list is items[order[i]]. `workers` 0 uses as
// many threads as pay off.
std::vector<TItemIndex> ListOrder(const TItems& items, TReading reading, std::size_t workers = 0);

// In a list put in its order: the positions of the items that repeat the
// item before them exactly, which is every item of a run of duplicates but
// its first, in ascending order.
std::vector<std::size_t> LaterDuplicates(const TItems& ordered);

// Byte by byte in the given reading, each byte taken as unsigned.
inline bool ExactBytesLess(std::string_view a, std::string_view b, TReading reading)
{
    if (reading == TReading::Forward)
        return a < b;
    return std::lexicographical_compare(a.rbegin(), a.rend(), b.rbegin(), b.rend(), [](char x, char y) {
        return static_cast<unsigned char>(x) < static_cast<unsigned char>(y);
    });
}
