#!/usr/bin/python3
# A screen reader's share of the work, without the speech: registers for the
# events a reader follows and, as a reader does, asks each event's source for
# its role, name and state. Writes one line per event to the file given (or
# standard output), so that two runs can be compared.
#   atspi-listener.py [LOG]
# Ends on SIGTERM or SIGINT, after writing "events N".
import signal
import sys

import pyatspi
from gi.repository import GLib

EVENTS = [
    "object:state-changed",
    "object:selection-changed",
    "object:children-changed",
    "object:active-descendant-changed",
    "object:property-change:accessible-name",
    "object:text-changed",
    "object:visible-data-changed",
    "focus:",
    "window:activate",
]

log = open(sys.argv[1], "w", buffering=1) if len(sys.argv) > 1 else sys.stdout
count = 0


def describe(accessible):
    try:
        return "%s '%s'" % (accessible.getRoleName(), accessible.name[:60])
    except Exception:
        return "?"


def heard(event):
    global count
    count += 1
    child = event.any_data if isinstance(event.any_data, pyatspi.Accessible) else None
    log.write(
        "%s %d %d %s%s\n"
        % (event.type, event.detail1, event.detail2, describe(event.source),
           " -> " + describe(child) if child is not None else "")
    )


def stop(*_):
    log.write("events %d\n" % count)
    log.flush()
    pyatspi.Registry.stop()
    return False


# The main loop is GLib's: Python's own handlers would wait for an event.
for number in (signal.SIGTERM, signal.SIGINT):
    GLib.unix_signal_add(GLib.PRIORITY_HIGH, number, stop)
pyatspi.Registry.registerEventListener(heard, *EVENTS)
print("listening", file=sys.stderr, flush=True)
pyatspi.Registry.start()
