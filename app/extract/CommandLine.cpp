#include "CommandLine.h"

#include <string_view>

const char* const ExtractorUsage =
    "usage: linkrake-extract [--ini FILE] [--set KEY=VALUE]... [--clipboard]\n"
    "                        [--strip-tracking] [--input-encoding ENC]\n"
    "                        [--output-encoding ENC] [FILE...]\n"
    "\n"
    "Prints the URLs found in each FILE (standard input when none is given),\n"
    "one per line ending in CR LF, in the encoding of the input it came from.\n"
    "\n"
    "  --ini FILE        read the settings of section SYSTEM from FILE\n"
    "  --set KEY=VALUE   override one setting after --ini:\n"
    "                    WWW, ALL, NTT, EXTRACTION, RULE1, RULE2, RULE3 take 0 or 1,\n"
    "                    MEMO takes any text\n"
    "  --clipboard       treat each input as clipboard text instead of a text file\n"
    "  --strip-tracking  remove tracking parameters (utm_*, fbclid, gclid, ...)\n"
    "                    from the URLs' queries before printing them\n"
    "  --input-encoding auto|utf-8|shift_jis\n"
    "                    how inputs are read; auto (the default) takes an input\n"
    "                    as UTF-16 when it starts with a UTF-16 byte-order mark,\n"
    "                    as UTF-8 when it starts with a UTF-8 one or its\n"
    "                    first 64 KiB from the first non-ASCII byte on are\n"
    "                    valid UTF-8, else as Shift_JIS\n"
    "  --output-encoding auto|utf-8|shift_jis\n"
    "                    how URLs are written; auto (the default) writes each\n"
    "                    input's URLs in that input's encoding (UTF-8 for\n"
    "                    UTF-16); characters that Shift_JIS lacks stay\n"
    "                    percent-encoded either way\n"
    "  --help            show this text\n"
    "\n"
    "Exit status: 0 done, 1 an input could not be read or a range was refused,\n"
    "2 bad usage.\n";

namespace {

bool SplitAssignment(std::string_view text, std::string& key, std::string& value)
{
    const std::size_t equals = text.find('=');
    if (equals == std::string_view::npos || equals == 0)
        return false;
    key = std::string(text.substr(0, equals));
    value = std::string(text.substr(equals + 1));
    return true;
}

}  // namespace

bool ApplyOverride(TExtractOptions& options, const std::string& key, const std::string& value)
{
    if (key == "MEMO") {
        options.MemoLine = value;
        return true;
    }
    if (value != "0" && value != "1")
        return false;
    const bool on = value == "1";
    struct TSwitch {
        const char* Key;
        bool TExtractOptions::*Member;
    };
    static constexpr TSwitch Switches[] = {
        {"WWW", &TExtractOptions::WwwRule},          {"ALL", &TExtractOptions::SchemeRule},
        {"NTT", &TExtractOptions::KanaConversion},   {"EXTRACTION", &TExtractOptions::RangeExpansion},
        {"RULE1", &TExtractOptions::ParentPathRule}, {"RULE2", &TExtractOptions::RootPathRule},
        {"RULE3", &TExtractOptions::SlashDotRule},
    };
    for (const TSwitch& entry : Switches) {
        if (key == entry.Key) {
            options.*entry.Member = on;
            return true;
        }
    }
    return false;
}

std::optional<TExtractorRequest> ParseCommandLine(int argc, char** argv, std::string& problem)
{
    TExtractorRequest request;
    bool optionsEnded = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (optionsEnded || arg.size() < 2 || arg.substr(0, 2) != "--") {
            request.Files.emplace_back(arg);
        } else if (arg == "--") {
            optionsEnded = true;
        } else if (arg == "--help") {
            request.Help = true;
        } else if (arg == "--clipboard") {
            request.Clipboard = true;
        } else if (arg == "--strip-tracking") {
            request.StripTracking = true;
        } else if (arg == "--input-encoding" || arg == "--output-encoding") {
            const std::optional<TTextEncoding> encoding =
                i + 1 < argc ? InputEncodingNamed(argv[i + 1]) : std::optional<TTextEncoding>();
            if (!encoding) {
                problem =
                    std::string(arg) + (i + 1 < argc ? " takes auto, utf-8 or shift_jis" : " needs a value");
                return std::nullopt;
            }
            ++i;
            (arg == "--input-encoding" ? request.InputEncoding : request.OutputEncoding) = *encoding;
        } else if (arg == "--ini" || arg == "--set") {
            if (i + 1 >= argc) {
                problem = std::string(arg) + " needs a value";
                return std::nullopt;
            }
            const std::string_view value = argv[++i];
            if (arg == "--ini") {
                if (request.IniPath) {
                    problem = "--ini given twice";
                    return std::nullopt;
                }
                request.IniPath = std::string(value);
                continue;
            }
            std::string key, text;
            TExtractOptions probe;
            if (!SplitAssignment(value, key, text) || !ApplyOverride(probe, key, text)) {
                problem = "bad setting: " + std::string(value);
                return std::nullopt;
            }
            request.Overrides.emplace_back(key, text);
        } else {
            problem = "unknown option: " + std::string(arg);
            return std::nullopt;
        }
    }
    return request;
}
