#pragma once
// The bookmarks file that browsers export and import: one folder named for
// the day, holding every list item a browser can be given, each address
// once, in list order.
#include <ctime>
#include <string>

#include "engine/UrlList.h"

// UTF-8 with LF line ends; empty when no item is a web address. `now`
// gives the dates; the folder is named for its local day.
std::string BookmarkFileContents(const TUrlList& list, std::time_t now);
