// Owns the X clipboard the way a password manager does with a secret copy:
// text offered together with the "x-kde-passwordManagerHint" target.
// Usage: linkrake_secret_copy <text>
#include "ClipboardOwner.h"

int main(int argc, char** argv)
{
    Display* display = XOpenDisplay(nullptr);
    if (!display || argc != 2) {
        std::fprintf(stderr, "usage (inside an X server): linkrake_secret_copy <text>\n");
        return 2;
    }
    return ServeClipboard(display, {{"UTF8_STRING", argv[1]},
                                    {"text/plain;charset=utf-8", argv[1]},
                                    {"x-kde-passwordManagerHint", "secret"}});
}
