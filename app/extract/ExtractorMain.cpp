// linkrake-extract: prints the URLs that the file-input button would add.
#include <cstdio>
#include <new>
#include <optional>
#include <string>

#include <unistd.h>

#include "CommandLine.h"
#include "Engine.h"
#include "UrlWriter.h"

namespace {

constexpr char ProgramName[] = "linkrake-extract";
constexpr char StandardInputName[] = "stdin";
constexpr std::size_t DrainThreshold = 4096;

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

// One input, read as the file-input button reads a file, or as clipboard
// text. Standard input is read through its descriptor, from where it stands:
// reopening it by name fails on sockets and rewinds files.
void ExtractInput(const std::optional<std::string>& path, bool asClipboard, const TExtractOptions& options,
                  TUrlList& list, TUrlWriter& writer)
{
    if (asClipboard) {
        ExtractFromClipboardText(path ? ReadFileBytes(*path) : ReadFileBytes(STDIN_FILENO), options, list);
        return;
    }
    const auto onLine = [&](std::string_view line) {
        ExtractUrlsFromLine(line, options, list);
        if (list.Count() >= DrainThreshold)
            writer.Drain(list);
    };
    if (path)
        ReadTextLines(*path, onLine);
    else
        ReadTextLines(STDIN_FILENO, onLine);
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

    TUrlWriter writer(stdout);
    TUrlList list;
    int status = ExitDone;
    std::vector<std::optional<std::string>> inputs(request.Files.begin(), request.Files.end());
    if (inputs.empty())
        inputs.emplace_back(std::nullopt);
    for (const std::optional<std::string>& input : inputs) {
        const std::string name = input.value_or(StandardInputName);
        try {
            ExtractInput(input, request.Clipboard, options, list, writer);
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
    writer.Drain(list);
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
