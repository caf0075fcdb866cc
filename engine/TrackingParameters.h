#pragma once
// Query parameters that only track where a visitor came from, and their
// removal from a URL. Works on the list's Shift_JIS bytes: every delimiter
// involved is below 0x40, so none is ever a character's second byte.
#include <string>
#include <string_view>

// The name a query piece carries: up to its first "=", or the whole piece.
bool IsTrackingParameter(std::string_view name);
// The URL without its tracking parameters into `stripped`; false, leaving
// `stripped` alone, when it holds none. The query runs from the first "?"
// to the first "#"; its pieces are separated by "&" or "&amp;". A removed
// piece takes the separator before it along (after it, for the first
// piece); all other bytes stay as they were, and a query left empty loses
// its "?".
bool StripTrackingParameters(std::string_view url, std::string& stripped);
