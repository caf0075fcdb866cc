#pragma once
// Internal: ExtractUrlsFromLine for a caller that already knows the line
// holds no ":" and no "." before quietUntil, so that its scans start there.
#include <cstddef>
#include <string_view>

struct TExtractOptions;
class TUrlSink;

void RecognizeLine(std::string_view line, std::size_t quietUntil, const TExtractOptions& options,
                   TUrlSink& sink);
