// Owns the X clipboard and never answers a request for it, as a program
// that hangs right after a copy does. Usage: linkrake_silent_copy
#include "ClipboardOwner.h"

int main()
{
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "linkrake_silent_copy: no X server\n");
        return 2;
    }
    return ServeClipboard(display, {}, true);
}
