#include "Bookmarks.h"

#include <unordered_set>

#include "BrowserTargets.h"
#include "engine/Engine.h"

namespace {

std::string Escaped(std::string_view text)
{
    std::string escaped;
    escaped.reserve(text.size());
    for (const char c : text) {
        switch (c) {
        case '&':
            escaped += "&amp;";
            break;
        case '<':
            escaped += "&lt;";
            break;
        case '>':
            escaped += "&gt;";
            break;
        case '"':
            escaped += "&quot;";
            break;
        default:
            escaped += c;
        }
    }
    return escaped;
}

std::string LocalDay(std::time_t now)
{
    std::tm local{};
    localtime_r(&now, &local);
    char day[16];
    std::strftime(day, sizeof day, "%Y-%m-%d", &local);
    return day;
}

}  // namespace

std::string BookmarkFileContents(const TUrlList& list, std::time_t now)
{
    const std::string date = std::to_string(static_cast<long long>(now));
    std::string entries;
    std::unordered_set<std::string> written;
    for (const TUrlList::TItem& item : list.Items()) {
        std::string address = BrowserAddressOf(item.Text);
        if (address.empty() || !written.insert(address).second)
            continue;
        const std::string text = Escaped(ShiftJisToUtf8(address));
        entries += "        <DT><A HREF=\"" + text + "\" ADD_DATE=\"" + date + "\">" + text + "</A>\n";
    }
    if (entries.empty())
        return {};
    return "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n"
           "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=UTF-8\">\n"
           "<TITLE>Bookmarks</TITLE>\n"
           "<H1>Bookmarks</H1>\n"
           "<DL><p>\n"
           "    <DT><H3 ADD_DATE=\""
           + date + "\">Linkrake " + LocalDay(now)
           + "</H3>\n"
             "    <DL><p>\n"
           + entries
           + "    </DL><p>\n"
             "</DL><p>\n";
}
