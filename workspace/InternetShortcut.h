#pragma once
// Reading Internet shortcut files ("[InternetShortcut]" / "URL=" lines), as
// the shortcut export writes them, for opening them in a browser.
#include <optional>
#include <string>
#include <string_view>

#include <QString>
#include <QUrl>

// The value of the "URL=" line of the "[InternetShortcut]" section, spaces
// around it removed; nullopt when there is none.
std::optional<std::string> ShortcutUrlLine(std::string_view contents);
// The text of a URL line's bytes.
QString ShortcutUrlText(const std::string& bytes);
// What a browser is given for a shortcut file's contents: the same schemes
// and "www." rule as for the list's items, never a local file. Empty when
// the file holds no such address.
QUrl ShortcutBrowserUrl(std::string_view contents);
