#pragma once
// Which list items a browser can be given, and as what: the schemes the
// recognizer knows pass as they are, "www." items get "http://" in front,
// and anything else (a relative or rooted path) is no web address at all.
#include <string>
#include <string_view>
#include <vector>

#include "engine/UrlList.h"

// The address for a browser, or empty when the item is none.
std::string BrowserAddressOf(std::string_view item);
// The selected items, or the focused one when none is selected.
std::vector<std::string> ChosenItems(const TUrlList& list);
std::vector<std::string> SelectedItems(const TUrlList& list);
