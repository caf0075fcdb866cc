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
// A shortcut file's contents as Shift_JIS text: the program writes them so,
// and one in UTF-8 or UTF-16 is told and converted as an input file is
// (EUnsupportedEncoding for UTF-32).
std::string ShortcutText(std::string contents);
// What a browser is given for a shortcut file's contents: the same schemes
// and "www." rule as for the list's items, never a local file. Empty when
// the file holds no such address. Throws as ShortcutText.
QUrl ShortcutBrowserUrl(std::string_view contents);
