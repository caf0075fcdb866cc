// Owns the X clipboard and never answers a request for it, as a program
// that hangs right after a copy does. Usage: linkrake_silent_copy; holds
// the clipboard until another program takes it or 60 s have passed.
#include <X11/Xlib.h>

#include <cstdio>
#include <ctime>

int main()
{
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "linkrake_silent_copy: no X server\n");
        return 2;
    }
    const Atom clipboard = XInternAtom(display, "CLIPBOARD", False);
    const Window window = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 1, 1, 0, 0, 0);
    XSetSelectionOwner(display, clipboard, window, CurrentTime);
    if (XGetSelectionOwner(display, clipboard) != window)
        return 1;
    std::printf("owned\n");
    std::fflush(stdout);

    const std::time_t end = std::time(nullptr) + 60;
    while (std::time(nullptr) < end) {
        if (!XPending(display)) {
            struct timespec pause = {0, 20 * 1000 * 1000};
            nanosleep(&pause, nullptr);
            continue;
        }
        XEvent event;
        XNextEvent(display, &event);
        if (event.type == SelectionClear)
            break;  // requests are taken and dropped
    }
    XCloseDisplay(display);
    return 0;
}
