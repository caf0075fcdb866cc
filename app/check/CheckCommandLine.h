#pragma once
#include <optional>
#include <string>
#include <vector>

#include "engine/TextEncoding.h"

// What the command line asks for, checked but not yet acted on.
struct TCheckRequest {
    bool Help = false;
    double TimeoutSeconds = 20;
    int PerHost = 2;
    int Jobs = 16;
    TTextEncoding InputEncoding = TTextEncoding::Auto;
    std::vector<std::string> Files;  // empty: standard input
};

extern const char* const CheckUsage;

// nullopt on bad usage; the reason goes to `problem`.
std::optional<TCheckRequest> ParseCheckCommandLine(int argc, char** argv, std::string& problem);

// The input's lines as UTF-8, its encoding decided as the extractor decides
// it (a UTF-16 input told by its byte-order mark too); line ends CR LF or
// LF, empty lines left out. Throws on an encoding the extractor refuses.
std::vector<std::string> UrlLines(std::string bytes, TTextEncoding encoding);
