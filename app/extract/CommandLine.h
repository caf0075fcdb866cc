#pragma once
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "engine/ExtractOptions.h"
#include "engine/TextEncoding.h"

// What the command line asks for, checked but not yet acted on.
struct TExtractorRequest {
    bool Help = false;
    bool Clipboard = false;
    bool StripTracking = false;
    TTextEncoding InputEncoding = TTextEncoding::Auto;
    TTextEncoding OutputEncoding = TTextEncoding::Auto;  // Auto: each input's own
    std::optional<std::string> IniPath;
    std::vector<std::pair<std::string, std::string>> Overrides;  // KEY, VALUE in command-line order
    std::vector<std::string> Files;                              // empty: standard input
};

extern const char* const ExtractorUsage;

// nullopt on bad usage; the reason goes to `problem`.
std::optional<TExtractorRequest> ParseCommandLine(int argc, char** argv, std::string& problem);

// Applies one --set KEY=VALUE; false when the key or value is not allowed.
bool ApplyOverride(TExtractOptions& options, const std::string& key, const std::string& value);
