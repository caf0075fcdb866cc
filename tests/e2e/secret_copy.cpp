// Owns the X clipboard the way a password manager does with a secret copy:
// text offered together with the "x-kde-passwordManagerHint" target.
// Usage: linkrake_secret_copy <text>; serves until another program takes
// the clipboard or 60 s have passed.
#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <cstdio>
#include <cstring>
#include <ctime>

int main(int argc, char** argv)
{
    Display* display = XOpenDisplay(nullptr);
    if (!display || argc != 2) {
        std::fprintf(stderr, "usage (inside an X server): linkrake_secret_copy <text>\n");
        return 2;
    }
    const char* text = argv[1];
    const Atom clipboard = XInternAtom(display, "CLIPBOARD", False);
    const Atom targets = XInternAtom(display, "TARGETS", False);
    const Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
    const Atom plain = XInternAtom(display, "text/plain;charset=utf-8", False);
    const Atom hint = XInternAtom(display, "x-kde-passwordManagerHint", False);
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
            break;
        if (event.type != SelectionRequest)
            continue;
        const XSelectionRequestEvent& request = event.xselectionrequest;
        XSelectionEvent reply{};
        reply.type = SelectionNotify;
        reply.display = request.display;
        reply.requestor = request.requestor;
        reply.selection = request.selection;
        reply.target = request.target;
        reply.time = request.time;
        reply.property = request.property ? request.property : request.target;
        if (request.target == targets) {
            Atom offered[] = {targets, utf8, plain, hint};
            XChangeProperty(display, request.requestor, reply.property, XA_ATOM, 32, PropModeReplace,
                            reinterpret_cast<unsigned char*>(offered), 4);
        } else if (request.target == utf8 || request.target == plain || request.target == hint) {
            const char* data = request.target == hint ? "secret" : text;
            XChangeProperty(display, request.requestor, reply.property, request.target, 8, PropModeReplace,
                            reinterpret_cast<const unsigned char*>(data),
                            static_cast<int>(std::strlen(data)));
        } else {
            reply.property = None;
        }
        XSendEvent(display, request.requestor, False, NoEventMask, reinterpret_cast<XEvent*>(&reply));
        XFlush(display);
    }
    XCloseDisplay(display);
    return 0;
}
