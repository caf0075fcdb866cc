// linkrake-extract: prints the URLs that the file-input button would add.
#include <algorithm>
#include <cstdio>
#include <new>
#include <optional>
#include <string>
#include <thread>

#include <unistd.h>

#include "CommandLine.h"
#include "TrackingStripSink.h"
#include "UrlWriter.h"
#include "engine/Engine.h"

namespace {

constexpr char ProgramName[] = "linkrake-extract";
constexpr char StandardInputName[] = "stdin";

enum ExitStatus { ExitDone = 0, ExitFailed = 1, ExitUsage = 2 };

void ReportFailure(const std::string& name, const std::string& message)
{
    std::fprintf(stderr, "%s: %s: %s\n", ProgramName, name.c_str(), message.c_str());
}

TExtractOptions LoadOptions(const TExtractorRequest& request)
{
    TExtractOptions options;
    if (request.IniPath)
        options = ReadExtractOptions(TIniFile(ReadSettingsFileBytes(*request.IniPath)));
    for (const auto& [key, value] : request.Overrides)
        ApplyOverride(options, key, value);
    return options;
}

// Every core on a large file: the extraction itself is the bulk of the run.
TFileSplit Split()
{
    TFileSplit split;
    split.Threads = std::max(1u, std::thread::hardware_concurrency());
    return split;
}

// One input, read as the file-input button reads a file, or as clipboard
// text. Standard input is read through its descriptor, from where it stands:
// reopening it by name fails on sockets and rewinds files.
void ExtractInput(const std::optional<std::string>& path, const TExtractorRequest& request,
                  const TExtractOptions& options, TUrlSink& writer)
{
    writer.InputEncoding = request.InputEncoding;
    if (request.Clipboard) {
        std::string bytes = path ? ReadFileBytes(*path) : ReadFileBytes(STDIN_FILENO);
        const std::string text =
            WholeTextAsShiftJis(std::move(bytes), request.InputEncoding, &writer.InputEncoding);
        ExtractFromClipboardText(text, options, writer);
    } else if (path)
        ExtractFromFile(*path, options, writer, Split());
    else
        ExtractFromFile(STDIN_FILENO, options, writer);
}

int Run(const TExtractorRequest& request)
{
    TExtractOptions options;
    try {
        options = LoadOptions(request);
    } catch (const EEngineError& error) {
        ReportFailure(*request.IniPath, error.what());
        return ExitFailed;
    }

    TUrlWriter writer(STDOUT_FILENO, request.OutputEncoding);
    TTrackingStripSink stripping(writer);
    TUrlSink& sink = request.StripTracking ? static_cast<TUrlSink&>(stripping) : writer;
    int status = ExitDone;
    std::vector<std::optional<std::string>> inputs(request.Files.begin(), request.Files.end());
    if (inputs.empty())
        inputs.emplace_back(std::nullopt);
    for (const std::optional<std::string>& input : inputs) {
        const std::string name = input.value_or(StandardInputName);
        try {
            ExtractInput(input, request, options, sink);
        } catch (const EEngineError& error) {
            ReportFailure(name, error.what());
            status = ExitFailed;
            break;  // like dropped files: a failing input stops the ones after it
        } catch (const std::bad_alloc&) {
            ReportFailure(name, "メモリが足りません");
            status = ExitFailed;
            break;
        }
    }
    if (!writer.Finish()) {
        ReportFailure("stdout", "書き込みに失敗しました");
        return ExitFailed;
    }
    return status;
}

}  // namespace

int main(int argc, char** argv)
{
    std::string problem;
    const auto request = ParseCommandLine(argc, argv, problem);
    if (!request) {
        std::fprintf(stderr, "%s: %s\n%s", ProgramName, problem.c_str(), ExtractorUsage);
        return ExitUsage;
    }
    if (request->Help) {
        std::fputs(ExtractorUsage, stdout);
        return ExitDone;
    }
    return Run(*request);
}
