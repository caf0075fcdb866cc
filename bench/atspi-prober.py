#!/usr/bin/python3
# What a screen reader asks of a busy window, asked every 100 ms: the list's
# row count, a row's name and the status bar's texts, each time fresh from
# the window (no cached answers). Ends when the window does and prints the
# number of rounds, the median and the longest time a round took.
#   atspi-prober.py APPLICATION_NAME
import statistics
import sys
import time

import pyatspi


def find_application(name):
    for _ in range(300):
        desktop = pyatspi.Registry.getDesktop(0)
        for application in desktop:
            if application is not None and application.name == name:
                return application
        time.sleep(0.1)
    sys.exit("atspi-prober: no application named %s" % name)


def find(application, roles):
    for _ in range(100):
        found = pyatspi.findDescendant(application, lambda a: a.getRoleName() in roles, breadth_first=True)
        if found is not None:
            return found
        time.sleep(0.1)
    sys.exit("atspi-prober: no %s in the window" % " or ".join(roles))


def ask(rows, status, round_number):
    rows.clearCache()
    count = rows.childCount
    if count > 0:
        row = rows.getChildAtIndex(round_number * 37 % count)
        row.clearCache()
        _ = row.name
    status.clearCache()
    return [child.name for child in status]


application = find_application(sys.argv[1])
rows = find(application, ("list", "table"))
status = find(application, ("status bar",))
times = []
while True:
    start = time.perf_counter()
    try:
        ask(rows, status, len(times))
    except Exception:
        break  # the window closed
    times.append(time.perf_counter() - start)
    time.sleep(0.1)
if not times:
    sys.exit("atspi-prober: the window answered nothing")
print("AT-SPI rounds %d, median %.0f ms, longest %.0f ms"
      % (len(times), statistics.median(times) * 1000, max(times) * 1000))
