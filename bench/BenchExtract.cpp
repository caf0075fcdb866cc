// Extraction throughput on a generated Shift_JIS corpus, with the default
// settings and with every option on.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>
#include <time.h>
#include <unistd.h>

#include "CorpusText.h"
#include "engine/Engine.h"

namespace {

constexpr std::size_t DefaultMegabytes = 64;
int Runs = 5;

struct TResult {
    double Seconds;
    double CpuSeconds;  // steadier than wall time on a busy machine
    std::size_t Urls;
};

// Of every thread, so that a split reading shows what its threads cost.
double ProcessCpuSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// Counts the URLs and touches their bytes, as a writer would.
class TCountingSink final : public TUrlSink {
public:
    void Add(std::string_view url) override
    {
        ++Urls;
        Bytes += url.size();
    }
    std::size_t Urls = 0;
    std::size_t Bytes = 0;
};

// split: null for the reading on the calling thread alone.
TResult TimeExtraction(const std::string& path, const TExtractOptions& options, const TFileSplit* split)
{
    TCountingSink sink;
    const auto start = std::chrono::steady_clock::now();
    const double cpuStart = ProcessCpuSeconds();
    if (split)
        ExtractFromFile(path, options, sink, *split);
    else
        ExtractFromFile(path, options, sink);
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    return {elapsed.count(), ProcessCpuSeconds() - cpuStart, sink.Urls};
}

void Report(const char* name, const std::string& path, std::size_t bytes, const TExtractOptions& options,
            const TFileSplit* split = nullptr)
{
    TResult best{1e30, 1e30, 0};
    for (int run = 0; run < Runs; ++run) {
        const TResult result = TimeExtraction(path, options, split);
        if (result.Seconds < best.Seconds)
            best.Seconds = result.Seconds;
        if (result.CpuSeconds < best.CpuSeconds)
            best.CpuSeconds = result.CpuSeconds;
        best.Urls = result.Urls;
    }
    const double megabytes = static_cast<double>(bytes) / 1048576.0;
    std::printf("%-24s %8.1f MB/s wall (%.3f s)  %8.1f MB/s CPU (%.3f s)  %9zu URLs\n", name,
                megabytes / best.Seconds, best.Seconds, megabytes / best.CpuSeconds, best.CpuSeconds,
                best.Urls);
}

bool WriteFile(const std::string& path, const std::string& bytes)
{
    std::ofstream file(path, std::ios::binary);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(file);
}

}  // namespace

int main(int argc, char** argv)
{
    std::string writeTo, writeUtf8To;
    std::size_t megabytes = DefaultMegabytes;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string arg = argv[i];
        if (arg == "--write")
            writeTo = argv[i + 1];
        else if (arg == "--write-utf8")
            writeUtf8To = argv[i + 1];
        else if (arg == "--megabytes")
            megabytes = std::strtoul(argv[i + 1], nullptr, 10);
        else if (arg == "--runs")
            Runs = std::atoi(argv[i + 1]);
    }
    const std::string corpus = MakeCorpus(megabytes << 20);
    if (!writeTo.empty() || !writeUtf8To.empty())
        return (writeTo.empty() || WriteFile(writeTo, corpus))
                       && (writeUtf8To.empty() || WriteFile(writeUtf8To, ShiftJisToUtf8(corpus)))
                   ? 0
                   : 1;

    const std::string path = "/tmp/linkrake-bench-" + std::to_string(::getpid()) + ".txt";
    if (!WriteFile(path, corpus))
        return 1;
    std::printf("corpus: %.1f MB of Shift_JIS text, best of %d runs\n",
                static_cast<double>(corpus.size()) / 1048576.0, Runs);

    TFileSplit split;
    split.Threads = std::max(2u, std::thread::hardware_concurrency());
    const std::string threads = ", " + std::to_string(split.Threads) + " threads";
    Report("defaults", path, corpus.size(), TExtractOptions{});
    Report(("defaults" + threads).c_str(), path, corpus.size(), TExtractOptions{}, &split);
    TExtractOptions everything;
    everything.KanaConversion = everything.ParentPathRule = everything.RootPathRule =
        everything.SlashDotRule = everything.RangeExpansion = true;
    everything.MemoLine = "KKK";
    Report("all options", path, corpus.size(), everything);
    Report(("all options" + threads).c_str(), path, corpus.size(), everything, &split);
    std::remove(path.c_str());
    return 0;
}
