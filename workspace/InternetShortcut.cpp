#include "InternetShortcut.h"

#include "BrowserTargets.h"
#include "Cp932.h"
#include "engine/TextEncoding.h"

namespace {

bool EqualIgnoringCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i]))
            return false;
    }
    return true;
}

std::string_view Trimmed(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

}  // namespace

std::optional<std::string> ShortcutUrlLine(std::string_view contents)
{
    bool inShortcutSection = false;
    while (!contents.empty()) {
        const std::size_t end = std::min(contents.find_first_of("\r\n"), contents.size());
        const std::string_view line = Trimmed(contents.substr(0, end));
        contents.remove_prefix(std::min(end + 1, contents.size()));
        if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
            inShortcutSection = EqualIgnoringCase(line.substr(1, line.size() - 2), "InternetShortcut");
            continue;
        }
        const std::size_t equals = line.find('=');
        if (inShortcutSection && equals != std::string_view::npos
            && EqualIgnoringCase(Trimmed(line.substr(0, equals)), "URL"))
            return std::string(Trimmed(line.substr(equals + 1)));
    }
    return std::nullopt;
}

std::string ShortcutText(std::string contents)
{
    return WholeTextAsShiftJis(std::move(contents), TTextEncoding::Auto);
}

QUrl ShortcutBrowserUrl(std::string_view contents)
{
    const std::optional<std::string> line = ShortcutUrlLine(ShortcutText(std::string(contents)));
    if (!line)
        return {};
    const std::string address = BrowserAddressOf(*line);
    const QUrl url(FromCp932(address), QUrl::TolerantMode);
    if (address.empty() || !url.isValid() || url.isLocalFile())
        return {};
    return url;
}
