// Owns the X clipboard the way a browser does with a copied part of a page:
// the reader's text (text/plain, UTF8_STRING) beside the markup (text/html)
// and the page's address (text/x-moz-url-priv, UTF-16 as browsers write it).
// Usage: linkrake_page_copy <text> <html> <page address>
#include <string>

#include "ClipboardOwner.h"

namespace {

// ASCII addresses only, as the test gives them.
std::string Utf16Le(const char* ascii)
{
    std::string units;
    for (const char* c = ascii; *c; ++c)
        units += std::string{*c, '\0'};
    return units;
}

}  // namespace

int main(int argc, char** argv)
{
    Display* display = XOpenDisplay(nullptr);
    if (!display || argc != 4) {
        std::fprintf(stderr, "usage (inside an X server): linkrake_page_copy <text> <html> <page address>\n");
        return 2;
    }
    return ServeClipboard(display, {{"UTF8_STRING", argv[1]},
                                    {"text/plain;charset=utf-8", argv[1]},
                                    {"text/html", argv[2]},
                                    {"text/x-moz-url-priv", Utf16Le(argv[3])}});
}
