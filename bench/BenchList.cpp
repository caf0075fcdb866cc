// The list operations that reorder a whole list (forward sort, backward
// sort, de-duplicate) on a generated list of a million URLs, run through
// the workspace handlers one after the other on the list loaded from its
// list file, as at start-up.
//   linkrake-bench-list [--count N] [--seed S] [--japanese SHARE] [--runs R]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

#include <malloc.h>
#include <sys/resource.h>

#include <QTemporaryDir>

#include "NoDesktop.h"
#include "UrlListCorpus.h"
#include "workspace/Workspace.h"

namespace {

struct TOperation {
    const char* Name;
    void (TWorkspace::*Handler)();
};

const TOperation Operations[] = {
    {"forward sort", &TWorkspace::SortForward},
    {"backward sort", &TWorkspace::SortBackward},
    {"de-duplicate", &TWorkspace::DeleteDuplicates},
};

// Resident memory in MB: the current amount or the peak since the last
// reset, from the kernel's own accounting.
double ResidentMegabytes(const char* field)
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind(field, 0) == 0)
            return std::strtod(line.c_str() + std::strlen(field), nullptr) / 1024.0;
    return 0;
}

// User and system time of all threads: on a machine shared with other work
// it varies less than the wall clock.
double ProcessCpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    auto seconds = [](const timeval& t) {
        return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) * 1e-6;
    };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

void ResetPeakResident()
{
    std::ofstream("/proc/self/clear_refs") << "5";
}

void WriteListFile(const std::string& folder, const TUrlListShape& shape)
{
    const std::string text = UrlListFileText(MakeUrlList(shape));
    std::ofstream(folder + "List.txt", std::ios::binary) << text;
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
    const std::string programFolder = folder.path().toStdString() + "/";
    WriteListFile(programFolder, shape);
    malloc_trim(0);  // the generator's memory goes back before anything is measured
    TNoDesktop desktop;
    TWorkspace workspace(desktop, programFolder);
    workspace.Files.LoadListFile();
    std::size_t bytes = 0;
    for (const auto& item : workspace.List.Items())
        bytes += item.Text.size() + 2;
    std::printf("%zu items, %.1f MB as a list file, %.0f %% with Japanese words\n", workspace.List.Count(),
                static_cast<double>(bytes) / 1e6, shape.JapaneseShare * 100);

    struct TTimes {
        double Wall = 1e30, Cpu = 1e30;
        std::size_t Left = 0;
    };
    std::vector<TTimes> times(std::size(Operations));
    double peak = 0, before = 0, after = 0;
    for (int run = 0; run < runs; ++run) {
        if (run > 0) {
            workspace.List.Clear();
            workspace.List.Items().shrink_to_fit();
            malloc_trim(0);
            workspace.Files.LoadListFile();
        }
        before = std::max(before, ResidentMegabytes("VmRSS:"));
        for (std::size_t i = 0; i < std::size(Operations); ++i) {
            ResetPeakResident();
            const double cpuStart = ProcessCpuSeconds();
            const auto start = std::chrono::steady_clock::now();
            (workspace.*Operations[i].Handler)();
            const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
            times[i].Wall = std::min(times[i].Wall, elapsed.count());
            times[i].Cpu = std::min(times[i].Cpu, ProcessCpuSeconds() - cpuStart);
            times[i].Left = workspace.List.Count();
            peak = std::max(peak, ResidentMegabytes("VmHWM:"));
            after = std::max(after, ResidentMegabytes("VmRSS:"));
        }
    }
    for (std::size_t i = 0; i < std::size(Operations); ++i)
        std::printf("%-14s %6.3f s  cpu %6.3f s  (best of %d; %zu items after)\n", Operations[i].Name,
                    times[i].Wall, times[i].Cpu, runs, times[i].Left);
    std::printf("resident       %6.0f MB  with the list loaded, %.0f MB at the peak of an operation, %.0f MB "
                "after one\n",
                before, peak, after);
    return 0;
}
