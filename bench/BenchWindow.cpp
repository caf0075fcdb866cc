// The real main window over a generated list of a million URLs: start-up
// with it as the saved list, then the list buttons one after another, each
// timed from the click until the window has painted the result.
//   linkrake-bench-window [--count N] [--seed S] [--accessible] [--steps K]
//   linkrake-bench-window --write-list FILE [--count N] [--seed S]
// --write-list only writes the list's lines to FILE (for timing other tools
// on the same lines).
// --steps stops after the first K operations (for profiling one of them).
// --accessible switches Qt's accessibility on in the process, so that the
// list view reports its changes as it does for a screen reader. On a real X
// server with an accessibility bus, QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 does
// the same through the desktop's bridge.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <functional>
#include <string>

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QTemporaryDir>

#include "UrlListCorpus.h"
#include "window/MainWindow.h"
#include "workspace/Workspace.h"

namespace {

double PeakResidentMegabytes()
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmHWM:", 0) == 0)
            return std::strtod(line.c_str() + 6, nullptr) / 1024.0;
    return 0;
}

// The process's processor time: on a machine shared with other work the wall
// time says more about the neighbours than about this program.
double ProcessorSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

struct TTimes {
    double Wall, Processor;
};

TTimes Measure(const std::function<void()>& step)
{
    const double processor = ProcessorSeconds();
    const auto start = std::chrono::steady_clock::now();
    step();
    // What the user waits for includes the repaint the change causes.
    QApplication::processEvents();
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    return {elapsed.count(), ProcessorSeconds() - processor};
}

// Starts the peak over at the current resident size (the list generator's
// own memory is gone by now and must not count).
void ResetPeakResident()
{
    std::ofstream("/proc/self/clear_refs") << "5";
}

}  // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    TUrlListShape shape;
    bool accessible = false;
    int steps = 1000;
    const char* listOnly = nullptr;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--accessible") == 0)
            accessible = true;
        else if (i + 1 < argc && std::strcmp(argv[i], "--count") == 0)
            shape.Count = std::strtoull(argv[++i], nullptr, 10);
        else if (i + 1 < argc && std::strcmp(argv[i], "--steps") == 0)
            steps = std::atoi(argv[++i]);
        else if (i + 1 < argc && std::strcmp(argv[i], "--seed") == 0)
            shape.Seed = std::strtoull(argv[++i], nullptr, 10);
        else if (i + 1 < argc && std::strcmp(argv[i], "--write-list") == 0)
            listOnly = argv[++i];
    }
    if (listOnly) {
        std::ofstream(listOnly, std::ios::binary) << UrlListFileText(MakeUrlList(shape));
        return 0;
    }
    if (accessible)
        QAccessible::setActive(true);

    QTemporaryDir folder;
    const std::string programFolder = folder.path().toStdString() + "/";
    {
        const std::string text = UrlListFileText(MakeUrlList(shape));
        std::ofstream(programFolder + "List.txt", std::ios::binary) << text;
        std::printf("%zu items, %.1f MB list file, platform %s\n", shape.Count,
                    static_cast<double>(text.size()) / 1e6, qPrintable(QApplication::platformName()));
    }

    ResetPeakResident();
    TMainWindow* window = nullptr;
    auto step = [&](const char* name, const std::function<void()>& operation) {
        if (--steps < 0)
            std::exit(0);
        const TTimes times = Measure(operation);
        const TUrlList& list = window->Workspace().List;
        std::printf("%-18s %6.3f s wall %6.3f s cpu  %7zu items, %7zu selected, peak %4.0f MB\n", name,
                    times.Wall, times.Processor, list.Count(), list.SelectedCount(), PeakResidentMegabytes());
        std::fflush(stdout);
    };
    step("start-up", [&] {
        window = new TMainWindow(nullptr, programFolder);
        window->show();
    });
    // The commands as the buttons, the menu and the keys trigger them.
    auto Trigger = [&](const char* action) { window->findChild<QAction*>(QLatin1String(action))->trigger(); };
    auto Edit = [&](const char* edit) { return window->findChild<QLineEdit*>(QLatin1String(edit)); };
    // The desktop's accessibility bridge connects once the event loop runs.
    std::printf("accessibility %s\n", QAccessible::isActive() ? "active" : "inactive");
    Edit("SearchEdit")->setText(QStringLiteral(".zip"));
    step("search .zip", [&] { Trigger("actionSearch"); });
    step("invert selection", [&] { Trigger("actionInvertSelection"); });
    step("invert back", [&] { Trigger("actionInvertSelection"); });
    step("delete selected", [&] { Trigger("actionDelete"); });
    Edit("FindEdit")->setText(QStringLiteral("http://"));
    Edit("ReplaceWithEdit")->setText(QStringLiteral("https://"));
    step("replace", [&] { Trigger("actionReplace"); });
    step("copy whole list", [&] { Trigger("actionCopyWholeList"); });
    step("forward sort", [&] { Trigger("actionSortForward"); });
    step("backward sort", [&] { Trigger("actionSortBackward"); });
    step("de-duplicate", [&] { Trigger("actionDeleteDuplicates"); });
    step("close and save", [&] { window->close(); });
    std::printf("peak resident      %6.0f MB\n", PeakResidentMegabytes());
    delete window;
    return 0;
}
