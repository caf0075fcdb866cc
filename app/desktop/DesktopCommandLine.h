#pragma once
// The desktop program's command line, read before any window system is
// needed, so that --help and --version work without a display.
#include <optional>

#include <QStringList>

struct TDesktopCommand {
    bool Minimized = false;      // start in the notification area
    bool OpenShortcuts = false;  // open the given shortcut files, nothing else
    QStringList Files;
    bool DisplayChosen = false;  // -platform or -display given to the toolkit
};

// The program ends here (help, version, a mistake) with the returned status,
// after printing what it had to; otherwise command holds what was asked.
std::optional<int> ParseDesktopCommandLine(const QStringList& arguments, TDesktopCommand& command);
