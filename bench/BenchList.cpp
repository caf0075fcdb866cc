// The list operations that reorder a whole list (forward sort, backward
// sort, de-duplicate) on a generated list of a million URLs, run through
// the workspace handlers, each on a freshly shuffled list.
//   linkrake-bench-list [--count N] [--seed S] [--japanese SHARE] [--runs R]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

#include <QTemporaryDir>

#include "UrlListCorpus.h"
#include "Workspace.h"

namespace {

// The sorts need none of the desktop.
class TNoDesktop : public TWorkspaceServices {
public:
    std::optional<std::string> ChooseOpenFile(const QString&) override { return {}; }
    std::optional<std::string> ChooseSaveFile(const QString&, const QString&) override { return {}; }
    std::optional<std::string> ChooseFolder(const QString&) override { return {}; }
    bool Confirm(const QString&) override { return false; }
    bool ClipboardHasText() override { return false; }
    std::string ClipboardText() override { return {}; }
    void SetClipboardText(const std::string&) override { }
    void ReportError(const QString&) override { }
    void ShowMessage(const QString&) override { }
    void ResetListHorizontalExtent() override { }
};

struct TOperation {
    const char* Name;
    void (TWorkspace::*Handler)();
};

const TOperation Operations[] = {
    {"forward sort", &TWorkspace::Button13Click},
    {"backward sort", &TWorkspace::Button14Click},
    {"de-duplicate", &TWorkspace::Button11Click},
};

// Peak resident memory in MB since the last reset, from the kernel's own
// high-water mark.
double PeakResidentMegabytes()
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmHWM:", 0) == 0)
            return std::strtod(line.c_str() + 6, nullptr) / 1024.0;
    return 0;
}

void ResetPeakResident()
{
    std::ofstream("/proc/self/clear_refs") << "5";
}

void Fill(TUrlList& list, const TUrlListShape& shape)
{
    list.Clear();
    list.Items().shrink_to_fit();
    std::vector<std::string> items = MakeUrlList(shape);
    list.Items().reserve(items.size());
    for (std::string& item : items)
        list.Append(std::move(item));
}

}  // namespace

int main(int argc, char** argv)
{
    TUrlListShape shape;
    int runs = 3;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--count") == 0)
            shape.Count = std::strtoull(argv[i + 1], nullptr, 10);
        else if (std::strcmp(argv[i], "--seed") == 0)
            shape.Seed = std::strtoull(argv[i + 1], nullptr, 10);
        else if (std::strcmp(argv[i], "--japanese") == 0)
            shape.JapaneseShare = std::strtod(argv[i + 1], nullptr);
        else if (std::strcmp(argv[i], "--runs") == 0)
            runs = std::max(1, std::atoi(argv[i + 1]));
    }

    QTemporaryDir folder;
    TNoDesktop desktop;
    TWorkspace workspace(desktop, folder.path().toStdString() + "/");
    Fill(workspace.List, shape);
    std::size_t bytes = 0;
    for (const auto& item : workspace.List.Items())
        bytes += item.Text.size() + 2;
    std::printf("%zu items, %.1f MB as a list file, %.0f %% with Japanese words\n", shape.Count,
                static_cast<double>(bytes) / 1e6, shape.JapaneseShare * 100);

    double peak = 0;
    for (const TOperation& operation : Operations) {
        double best = 1e30;
        std::size_t left = 0;
        for (int run = 0; run < runs; ++run) {
            Fill(workspace.List, shape);
            ResetPeakResident();
            const auto start = std::chrono::steady_clock::now();
            (workspace.*operation.Handler)();
            const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
            best = std::min(best, elapsed.count());
            peak = std::max(peak, PeakResidentMegabytes());
            left = workspace.List.Count();
        }
        std::printf("%-14s %6.3f s  (best of %d; %zu items after)\n", operation.Name, best, runs, left);
    }
    std::printf("peak resident  %6.0f MB  (whole process, during the operations)\n", peak);
    return 0;
}
