// Owns the X clipboard the way a browser does with a copied part of a page:
// the reader's text (text/plain, UTF8_STRING) beside the markup (text/html)
// and the page's address (text/x-moz-url-priv, UTF-16 as browsers write it).
// Usage: linkrake_page_copy <text> <html> <page address>; serves until
// another program takes the clipboard or 60 s have passed.
#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <cstdio>
#include <cstring>
#include <ctime>
#include <string>

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
    const Atom clipboard = XInternAtom(display, "CLIPBOARD", False);
    const Atom targets = XInternAtom(display, "TARGETS", False);
    const Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
    const Atom plain = XInternAtom(display, "text/plain;charset=utf-8", False);
    const Atom html = XInternAtom(display, "text/html", False);
    const Atom address = XInternAtom(display, "text/x-moz-url-priv", False);
    const std::string page = Utf16Le(argv[3]);
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
        std::string data;
        if (request.target == utf8 || request.target == plain)
            data = argv[1];
        else if (request.target == html)
            data = argv[2];
        else if (request.target == address)
            data = page;
        if (request.target == targets) {
            Atom offered[] = {targets, utf8, plain, html, address};
            XChangeProperty(display, request.requestor, reply.property, XA_ATOM, 32, PropModeReplace,
                            reinterpret_cast<unsigned char*>(offered), 5);
        } else if (!data.empty()) {
            XChangeProperty(display, request.requestor, reply.property, request.target, 8, PropModeReplace,
                            reinterpret_cast<const unsigned char*>(data.data()),
                            static_cast<int>(data.size()));
        } else {
            reply.property = None;
        }
        XSendEvent(display, request.requestor, False, NoEventMask, reinterpret_cast<XEvent*>(&reply));
        XFlush(display);
    }
    XCloseDisplay(display);
    return 0;
}
