#pragma once
// The line break of every text the workspace writes, and the list as such a
// text: the list file and the list export hold the same bytes.
#include <string>

#include "UrlList.h"

inline const std::string LineEnd = "\r\n";

// Every item followed by a line break. A Ctrl-Z that opens a line ends a
// text file for the reader, so an item beginning with one would take every
// later item with it at the next start; a CR in front, which the reader
// drops, keeps it inside its line.
inline std::string ListFileContents(const TUrlList& list)
{
    std::size_t bytes = 0;
    for (const TUrlList::TItem& item : list.Items())
        bytes += item.Text.size() + LineEnd.size();
    std::string text;
    text.reserve(bytes);
    for (const TUrlList::TItem& item : list.Items()) {
        if (!item.Text.empty() && item.Text.front() == '\x1A')
            text += '\r';
        text += item.Text;
        text += LineEnd;
    }
    return text;
}
