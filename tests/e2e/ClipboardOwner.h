#pragma once
// A stand-in for another program that owns the X clipboard: it takes the
// clipboard, says "owned" on standard output, and answers requests for the
// targets it offers (or, when it is silent, takes them and never answers)
// until another program takes the clipboard or 60 s have passed.
#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <cstdio>
#include <ctime>
#include <string>
#include <vector>

struct TClipboardOffer {
    const char* Target;
    std::string Data;
};

// Returns the program's exit status: 0 served, 1 the clipboard not taken.
inline int ServeClipboard(Display* display, const std::vector<TClipboardOffer>& offers, bool silent = false)
{
    const Atom clipboard = XInternAtom(display, "CLIPBOARD", False);
    const Atom targets = XInternAtom(display, "TARGETS", False);
    std::vector<Atom> offered = {targets};
    for (const TClipboardOffer& offer : offers)
        offered.push_back(XInternAtom(display, offer.Target, False));
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
        if (event.type != SelectionRequest || silent)
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
            XChangeProperty(display, request.requestor, reply.property, XA_ATOM, 32, PropModeReplace,
                            reinterpret_cast<unsigned char*>(offered.data()),
                            static_cast<int>(offered.size()));
        } else {
            reply.property = None;
            for (std::size_t i = 0; i < offers.size(); ++i) {
                if (offered[i + 1] != request.target)
                    continue;
                reply.property = request.property ? request.property : request.target;
                XChangeProperty(display, request.requestor, reply.property, request.target, 8,
                                PropModeReplace,
                                reinterpret_cast<const unsigned char*>(offers[i].Data.data()),
                                static_cast<int>(offers[i].Data.size()));
                break;
            }
        }
        XSendEvent(display, request.requestor, False, NoEventMask, reinterpret_cast<XEvent*>(&reply));
        XFlush(display);
    }
    XCloseDisplay(display);
    return 0;
}
