// The real main window checking the links of a list of local addresses, as
// a screen-reader user starts it: the list is the saved one, リンク確認 is
// pressed once the window is up, and the window closes a second after the
// check ends.
//   linkrake-bench-link-window BASES_FILE [--count N]
// BASES_FILE holds the local servers' base addresses, one a line (as
// linkrake-bench-web-servers prints them); the N addresses (default 10,000)
// are spread over them.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include <QApplication>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include "linkcheck/LinkChecker.h"
#include "window/ListLinkCheck.h"
#include "window/MainWindow.h"
#include "workspace/Workspace.h"

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s BASES_FILE [--count N]\n", argv[0]);
        return 2;
    }
    std::size_t count = 10'000;
    for (int i = 2; i + 1 < argc; ++i)
        if (std::strcmp(argv[i], "--count") == 0)
            count = std::strtoull(argv[++i], nullptr, 10);
    std::vector<std::string> bases;
    {
        std::ifstream file(argv[1]);
        for (std::string line; std::getline(file, line);)
            if (!line.empty())
                bases.push_back(line);
    }
    if (bases.empty()) {
        std::fprintf(stderr, "%s: no base addresses in %s\n", argv[0], argv[1]);
        return 2;
    }
    QTemporaryDir folder;
    const std::string programFolder = folder.path().toStdString() + "/";
    {
        std::ofstream list(programFolder + "List.txt", std::ios::binary);
        for (std::size_t i = 0; i < count; ++i)
            list << bases[i % bases.size()] << "/page/" << i << "\r\n";
    }
    auto* window = new TMainWindow(nullptr, programFolder);
    window->show();

    using TClock = std::chrono::steady_clock;
    TClock::time_point started;
    QObject::connect(window->LinkCheck().Checker(), &TLinkChecker::Finished, window, [&](bool completed) {
        const std::chrono::duration<double> took = TClock::now() - started;
        std::printf("check of %zu %s in %.2f s\n", count, completed ? "completed" : "stopped", took.count());
        std::fflush(stdout);
        QTimer::singleShot(1000, window, [window] { window->close(); });
    });
    // A second for the accessibility bridge and the listeners to settle.
    QTimer::singleShot(1000, window, [&] {
        started = TClock::now();
        window->findChild<QPushButton*>(QStringLiteral("LinkCheckButton"))->click();
    });
    QObject::connect(window, &QObject::destroyed, &application, &QApplication::quit);
    window->setAttribute(Qt::WA_DeleteOnClose);
    return QApplication::exec();
}
