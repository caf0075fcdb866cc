// Reading the URL of an Internet shortcut file for the browser.
#include <gtest/gtest.h>

#include "engine/Errors.h"
#include "workspace/InternetShortcut.h"

namespace {

TEST(InternetShortcut, TheUrlLineOfItsSection)
{
    const struct {
        const char* Contents;
        std::optional<std::string> Line;
    } cases[] = {
        {"[InternetShortcut]\r\nURL=http://a.example/\r\n", "http://a.example/"},
        {"[internetshortcut]\nurl = http://a.example/x y \n", "http://a.example/x y"},
        {"[InternetShortcut]\rIconIndex=0\rURL=ftp://f/\r", "ftp://f/"},
        {"[Other]\r\nURL=http://wrong/\r\n[InternetShortcut]\r\nURL=http://right/", "http://right/"},
        {"[InternetShortcut]\r\n[Other]\r\nURL=http://wrong/\r\n", std::nullopt},
        {"URL=http://outside/\r\n", std::nullopt},
        {"", std::nullopt},
        {"[InternetShortcut]\r\nURL=\r\n", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ShortcutUrlLine(c.Contents), c.Line) << c.Contents;
}

TEST(InternetShortcut, OnlyWebAddressesGoToTheBrowser)
{
    const struct {
        const char* Url;
        const char* Expected;  // empty: not opened
    } cases[] = {
        {"http://a.example/p?q=1", "http://a.example/p?q=1"},
        {"HTTPS://a.example/", "https://a.example/"},
        {"www.b.example/", "http://www.b.example/"},
        {"mms://m.example/s", "mms://m.example/s"},
        {"file:///etc/passwd", ""},
        {"/etc/passwd", ""},
        {"javascript:alert(1)", ""},
        {"http://", ""},
    };
    for (const auto& c : cases) {
        const QUrl url = ShortcutBrowserUrl(std::string("[InternetShortcut]\r\nURL=") + c.Url + "\r\n");
        EXPECT_EQ(url.toString().toStdString(), c.Expected) << c.Url;
    }
    // Shortcuts are Shift_JIS (日本 as bytes 93 FA 96 7B); one in UTF-8,
    // with or without a byte-order mark, or in UTF-16 reads the same.
    const QString utf16 = QStringLiteral("[InternetShortcut]\r\nURL=http://x.example/日本\r\n");
    for (const std::string& contents :
         {std::string("[InternetShortcut]\r\nURL=http://x.example/\x93\xFA\x96\x7B\r\n"),
          std::string("[InternetShortcut]\r\nURL=http://x.example/日本\r\n"),
          std::string("\xEF\xBB\xBF[InternetShortcut]\r\nURL=http://x.example/日本\r\n"),
          "\xFF\xFE"
              + std::string(reinterpret_cast<const char*>(utf16.utf16()),
                            2 * static_cast<std::size_t>(utf16.size()))})
        EXPECT_EQ(ShortcutBrowserUrl(contents).path(), QStringLiteral("/日本")) << contents;
    EXPECT_THROW(ShortcutBrowserUrl(std::string("\xFF\xFE\0\0", 4)), EUnsupportedEncoding);
}

}  // namespace
