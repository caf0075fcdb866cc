#include "UrlList.h"

#include <algorithm>

void TUrlList::Delete(std::size_t i)
{
    FItems.erase(FItems.begin() + static_cast<std::ptrdiff_t>(i));
}

void TUrlList::Clear()
{
    FItems.clear();
    FFocused = -1;
}

std::size_t TUrlList::SelectedCount() const
{
    return static_cast<std::size_t>(
        std::count_if(FItems.begin(), FItems.end(), [](const TItem& item) { return item.Selected; }));
}
