#include "CheckCommandLine.h"

#include <charconv>
#include <string_view>

#include "engine/ShiftJisCodec.h"

const char* const CheckUsage = "usage: linkrake-check [--timeout SECONDS] [--per-host N] [--jobs N]\n"
                               "                      [--input-encoding auto|utf-8|shift_jis] [FILE...]\n"
                               "\n"
                               "Checks whether the URLs in each FILE (standard input when none is given),\n"
                               "one per line, still work, and prints for each, in input order:\n"
                               "  outcome<TAB>status<TAB>url<TAB>detail\n"
                               "outcome is ok, moved, dead, unverified or skipped; detail is the new\n"
                               "address of a moved URL and the reason otherwise.\n"
                               "\n"
                               "  --timeout SECONDS  time each request may take (default 20)\n"
                               "  --per-host N       requests at once to one host, 1 to 6 (default 2)\n"
                               "  --jobs N           requests at once in all, 1 to 256 (default 16)\n"
                               "  --input-encoding auto|utf-8|shift_jis\n"
                               "                     how inputs are read, as linkrake-extract reads them\n"
                               "  --help             show this text\n"
                               "\n"
                               "Exit status: 0 no URL is dead, 1 some URL is dead, 2 bad usage or an\n"
                               "unreadable input.\n";

namespace {

std::optional<double> PositiveNumber(std::string_view text)
{
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || !(value > 0) || value > 86400)
        return std::nullopt;
    return value;
}

std::optional<int> WholeNumber(std::string_view text, int lowest, int highest)
{
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < lowest || value > highest)
        return std::nullopt;
    return value;
}

}  // namespace

std::optional<TCheckRequest> ParseCheckCommandLine(int argc, char** argv, std::string& problem)
{
    TCheckRequest request;
    bool optionsEnded = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (optionsEnded || arg.size() < 2 || arg.substr(0, 2) != "--") {
            request.Files.emplace_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        if (arg == "--help") {
            request.Help = true;
            continue;
        }
        if (arg != "--timeout" && arg != "--per-host" && arg != "--jobs" && arg != "--input-encoding") {
            problem = "unknown option: " + std::string(arg);
            return std::nullopt;
        }
        if (i + 1 >= argc) {
            problem = std::string(arg) + " needs a value";
            return std::nullopt;
        }
        const std::string_view value = argv[++i];
        bool taken = false;
        if (arg == "--timeout") {
            const auto seconds = PositiveNumber(value);
            taken = seconds.has_value();
            request.TimeoutSeconds = seconds.value_or(0);
        } else if (arg == "--per-host") {
            // Qt opens at most six connections to one host.
            const auto count = WholeNumber(value, 1, 6);
            taken = count.has_value();
            request.PerHost = count.value_or(0);
        } else if (arg == "--jobs") {
            const auto count = WholeNumber(value, 1, 256);
            taken = count.has_value();
            request.Jobs = count.value_or(0);
        } else {
            const auto encoding = InputEncodingNamed(value);
            taken = encoding.has_value();
            request.InputEncoding = encoding.value_or(TTextEncoding::Auto);
        }
        if (!taken) {
            problem = "bad value for " + std::string(arg) + ": " + std::string(value);
            return std::nullopt;
        }
    }
    return request;
}

std::vector<std::string> UrlLines(std::string bytes, TTextEncoding encoding)
{
    if (encoding == TTextEncoding::Auto)
        encoding = DecideEncoding(bytes, true).value_or(TTextEncoding::ShiftJis);
    std::string text;
    if (IsUtf16(encoding)) {
        // Rare enough to go the extractor's way, through Shift_JIS.
        text = ShiftJisToUtf8(WholeTextAsShiftJis(std::move(bytes), encoding));
    } else if (encoding == TTextEncoding::Utf8) {
        text = std::move(bytes);
        if (std::string_view(text).substr(0, Utf8ByteOrderMark.size()) == Utf8ByteOrderMark)
            text.erase(0, Utf8ByteOrderMark.size());
    } else {
        text = ShiftJisToUtf8(bytes);
    }
    std::vector<std::string> lines;
    std::string_view rest = text;
    while (!rest.empty()) {
        const std::size_t end = std::min(rest.find('\n'), rest.size());
        std::string_view line = rest.substr(0, end);
        rest.remove_prefix(std::min(end + 1, rest.size()));
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (!line.empty())
            lines.emplace_back(line);
    }
    return lines;
}
