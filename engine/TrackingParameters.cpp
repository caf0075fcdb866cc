#include "TrackingParameters.h"

#include <algorithm>
#include <iterator>

namespace {

constexpr std::string_view TrackingNames[] = {
#include "TrackingParameters.inc"
};

constexpr std::string_view Ampersand = "&amp;";

// Where the separator at `at` ends, or `at` when there is none.
std::size_t SeparatorEnd(std::string_view query, std::size_t at)
{
    if (query.substr(at, Ampersand.size()) == Ampersand)
        return at + Ampersand.size();
    return query[at] == '&' ? at + 1 : at;
}

std::string_view NameOf(std::string_view piece)
{
    return piece.substr(0, piece.find('='));
}

}  // namespace

bool IsTrackingParameter(std::string_view name)
{
    return std::any_of(std::begin(TrackingNames), std::end(TrackingNames), [name](std::string_view entry) {
        if (!entry.empty() && entry.back() == '*')
            return name.substr(0, entry.size() - 1) == entry.substr(0, entry.size() - 1);
        return name == entry;
    });
}

bool StripTrackingParameters(std::string_view url, std::string& stripped)
{
    const std::size_t fragment = std::min(url.find('#'), url.size());
    const std::size_t mark = url.substr(0, fragment).find('?');
    if (mark == std::string_view::npos)
        return false;
    const std::string_view query = url.substr(mark + 1, fragment - mark - 1);
    std::string kept;
    bool removed = false, anyKept = false;
    // Each piece runs from the end of the separator in front of it (none for
    // the first) to the next "&".
    for (std::size_t separator = 0, piece = 0;;) {
        const std::size_t end = std::min(query.find('&', piece), query.size());
        if (IsTrackingParameter(NameOf(query.substr(piece, end - piece)))) {
            removed = true;
        } else {
            // The first piece kept goes without a separator: a removed
            // first piece has taken the one after it along.
            kept.append(query.substr(anyKept ? separator : piece, end - (anyKept ? separator : piece)));
            anyKept = true;
        }
        if (end == query.size())
            break;
        separator = end;
        piece = SeparatorEnd(query, end);
    }
    if (!removed)
        return false;
    stripped.assign(url.substr(0, kept.empty() ? mark : mark + 1));
    stripped.append(kept);
    stripped.append(url.substr(fragment));
    return true;
}
