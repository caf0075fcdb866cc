#include "BrowserTargets.h"

namespace {

bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix)
{
    if (text.size() < prefix.size())
        return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        char c = text[i];
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
        if (c != prefix[i])
            return false;
    }
    return true;
}

}  // namespace

std::string BrowserAddressOf(std::string_view item)
{
    for (std::string_view scheme : {"http://", "https://", "ftp://", "mms://", "rtsp://"})
        if (StartsWithIgnoringCase(item, scheme) && item.size() > scheme.size())
            return std::string(item);
    if (StartsWithIgnoringCase(item, "www.") && item.size() > 4)
        return "http://" + std::string(item);
    return {};
}

std::vector<std::string> SelectedItems(const TUrlList& list)
{
    std::vector<std::string> items;
    for (const TUrlList::TItem& item : list.Items())
        if (item.Selected)
            items.push_back(item.Text);
    return items;
}

std::vector<std::string> ChosenItems(const TUrlList& list)
{
    std::vector<std::string> items = SelectedItems(list);
    const int focused = list.Focused();
    if (items.empty() && focused >= 0 && static_cast<std::size_t>(focused) < list.Count())
        items.push_back(list[static_cast<std::size_t>(focused)]);
    return items;
}
