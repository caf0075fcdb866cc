#pragma once
// Bringing the window forward for a later start of the program, with the
// activation token that start was given by the desktop, so that window
// managers which refuse focus to programs nobody asked for let it through.
#include <functional>

class QWidget;
struct TCopyRequest;

// restore: what brings the window back (un-minimize, show, raise, activate).
void BringBackForLaterStart(QWidget& window, const TCopyRequest& request,
                            const std::function<void()>& restore);
