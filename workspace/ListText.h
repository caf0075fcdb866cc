#pragma once
// The line break of every text the workspace writes, and the list as such a
// text: the list file and the list export hold the same bytes.
#include <string>

#include "UrlList.h"

inline const std::string LineEnd = "\r\n";

// Every item followed by a line break.
inline std::string ListFileContents(const TUrlList& list)
{
    std::size_t bytes = 0;
    for (const TUrlList::TItem& item : list.Items())
        bytes += item.Text.size() + LineEnd.size();
    std::string text;
    text.reserve(bytes);
    for (const TUrlList::TItem& item : list.Items()) {
        text += item.Text;
        text += LineEnd;
    }
    return text;
}
