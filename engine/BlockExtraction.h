#pragma once
// Internal: the URLs of a block of whole text lines as a file holds them,
// the lines that cannot hold one skipped in bulk.
#include <cstring>
#include <string>
#include <string_view>

#include "CandidateScan.h"
#include "Engine.h"

namespace blocks {

inline void AppendWithoutCr(std::string& line, std::string_view bytes)
{
    for (std::size_t at = 0; at < bytes.size();) {
        const void* cr = std::memchr(bytes.data() + at, '\r', bytes.size() - at);
        const std::size_t end =
            cr ? static_cast<std::size_t>(static_cast<const char*>(cr) - bytes.data()) : bytes.size();
        line.append(bytes.substr(at, end - at));
        at = end + 1;
    }
}

inline candidates::TTriggers TriggersFor(const TExtractOptions& options)
{
    candidates::TTriggers triggers;
    triggers.Slash = options.RootPathRule || options.SlashDotRule || options.KanaConversion;
    triggers.Kana = options.KanaConversion;
    triggers.ParentPaths = options.ParentPathRule;
    return triggers;
}

// Extracts from every line of block, which starts at a line start and ends
// just after an LF or with the file. beforeLine(start) runs before each line
// that may hold a URL, with the line's first byte. False once a Ctrl-Z at
// the start of a line has ended the text.
template <class BeforeLine>
bool Extract(std::string_view block, const TExtractOptions& options, TUrlSink& sink, std::string& spare,
             BeforeLine&& beforeLine)
{
    const auto onLine = [&](const candidates::TRawLine& line) {
        std::string_view bytes = line.Bytes;
        beforeLine(bytes.data());
        if (line.LoneCr) {
            spare.clear();
            AppendWithoutCr(spare, bytes);
            return ExtractUrlsFromLine(spare, options, sink);
        }
        if (!bytes.empty() && bytes.back() == '\r')
            bytes.remove_suffix(1);
        ExtractUrlsFromLine(bytes, options, sink);
    };
    return candidates::ForEachCandidateLine(block, TriggersFor(options), onLine);
}

inline bool Extract(std::string_view block, const TExtractOptions& options, TUrlSink& sink,
                    std::string& spare)
{
    return Extract(block, options, sink, spare, [](const char*) {});
}

}  // namespace blocks
