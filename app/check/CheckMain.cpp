// linkrake-check: tells which URLs of a list still work.
#include <csignal>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QSocketNotifier>

#include "CheckCommandLine.h"
#include "engine/Engine.h"
#include "linkcheck/LinkChecker.h"

namespace {

constexpr char ProgramName[] = "linkrake-check";
enum ExitStatus { ExitNoneDead = 0, ExitSomeDead = 1, ExitUsage = 2 };

int SignalPipe[2] = {-1, -1};

void NoteSignal(int number)
{
    const char byte = static_cast<char>(number);
    [[maybe_unused]] const ssize_t written = write(SignalPipe[1], &byte, 1);
}

// SIGINT and SIGTERM reach the event loop as a byte in a pipe.
void CatchStopSignals()
{
    if (pipe2(SignalPipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    struct sigaction action = {};
    action.sa_handler = NoteSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

// The inputs' lines in order; false, with the failure reported, when an
// input could not be read (the ones after it are not read).
bool ReadInputs(const TCheckRequest& request, std::vector<std::string>& lines)
{
    std::vector<std::optional<std::string>> inputs(request.Files.begin(), request.Files.end());
    if (inputs.empty())
        inputs.emplace_back(std::nullopt);
    for (const std::optional<std::string>& input : inputs) {
        try {
            std::string bytes = input ? ReadFileBytes(*input) : ReadFileBytes(STDIN_FILENO);
            for (std::string& line : UrlLines(std::move(bytes), request.InputEncoding))
                lines.push_back(std::move(line));
        } catch (const std::exception& failure) {
            std::fprintf(stderr, "%s: %s: %s\n", ProgramName, input.value_or("stdin").c_str(),
                         failure.what());
            return false;
        }
    }
    return true;
}

// Writes the results in input order as the leading ones are decided.
class TResultPrinter {
public:
    explicit TResultPrinter(const std::vector<std::string>& urls) : FUrls(urls), FResults(urls.size()) { }

    void Take(int index, const TLinkResult& result)
    {
        FResults[static_cast<std::size_t>(index)] = result;
        while (FPrinted < FResults.size() && FResults[FPrinted])
            Print(FPrinted++);
        std::fflush(stdout);
    }
    bool AnyDead() const { return FDead; }
    std::size_t Printed() const { return FPrinted; }

private:
    void Print(std::size_t index)
    {
        const TLinkResult& result = *FResults[index];
        FDead = FDead || result.Outcome == TLinkOutcome::Dead;
        const QString detail = result.Outcome == TLinkOutcome::Moved
                                   ? result.Target.toString(QUrl::FullyEncoded)
                                   : ReasonWord(result);
        const std::string status = result.Status > 0 ? std::to_string(result.Status) : "-";
        std::printf("%s\t%s\t%s\t%s\n", OutcomeWord(result.Outcome).toUtf8().constData(), status.c_str(),
                    FUrls[index].c_str(), detail.toUtf8().constData());
    }

    const std::vector<std::string>& FUrls;
    std::vector<std::optional<TLinkResult>> FResults;
    std::size_t FPrinted = 0;
    bool FDead = false;
};

}  // namespace

int main(int argc, char** argv)
{
    std::string problem;
    const auto request = ParseCheckCommandLine(argc, argv, problem);
    if (!request) {
        std::fprintf(stderr, "%s: %s\n%s", ProgramName, problem.c_str(), CheckUsage);
        return ExitUsage;
    }
    if (request->Help) {
        std::fputs(CheckUsage, stdout);
        return ExitNoneDead;
    }
    CatchStopSignals();
    QCoreApplication application(argc, argv);
    std::vector<std::string> lines;
    const bool allRead = ReadInputs(*request, lines);

    TLinkChecker checker;
    checker.Settings.PerHost = request->PerHost;
    checker.Settings.Total = request->Jobs;
    checker.Settings.TimeoutMilliseconds = static_cast<int>(request->TimeoutSeconds * 1000);
    TResultPrinter printer(lines);
    const bool showProgress = isatty(STDERR_FILENO);
    QObject::connect(&checker, &TLinkChecker::Decided, &checker,
                     [&printer](int index, const TLinkResult& result) { printer.Take(index, result); });
    if (showProgress)
        QObject::connect(&checker, &TLinkChecker::Progress, &checker, [](int decided, int total) {
            std::fprintf(stderr, "\r%s: %d/%d", ProgramName, decided, total);
        });
    int stoppedBy = 0;
    QObject::connect(&checker, &TLinkChecker::Finished, &application, &QCoreApplication::quit,
                     Qt::QueuedConnection);
    QSocketNotifier stopSignals(SignalPipe[0], QSocketNotifier::Read);
    QObject::connect(&stopSignals, &QSocketNotifier::activated, &checker, [&] {
        char byte = 0;
        if (read(SignalPipe[0], &byte, 1) == 1 && stoppedBy == 0) {
            stoppedBy = byte;
            checker.Abort();
        }
    });

    QStringList urls;
    urls.reserve(static_cast<qsizetype>(lines.size()));
    for (const std::string& line : lines)
        urls << QString::fromStdString(line);
    checker.Start(urls);
    if (checker.Running())
        application.exec();
    if (showProgress && !urls.isEmpty())
        std::fputs("\n", stderr);
    std::fflush(stdout);
    if (stoppedBy != 0)
        return 128 + stoppedBy;
    if (!allRead)
        return ExitUsage;
    return printer.AnyDead() ? ExitSomeDead : ExitNoneDead;
}
