#pragma once
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "UrlSink.h"

// URLs held as lines ending in CR LF in one string, as the extractor prints
// them: what one thread extracts from its piece of a file while another
// hands earlier pieces on. Clearing keeps the memory for the next piece.
class TUrlBatch final : public TUrlSink {
public:
    void Add(std::string_view url) override
    {
        FLines.append(url);
        FEnds.push_back(FLines.size());
        FLines.append("\r\n");
    }
    std::size_t Count() const { return FEnds.size(); }
    std::size_t Bytes() const { return FLines.size(); }
    std::string_view Lines() const { return FLines; }
    std::string_view operator[](std::size_t i) const
    {
        const std::size_t start = i == 0 ? 0 : FEnds[i - 1] + 2;
        return std::string_view(FLines).substr(start, FEnds[i] - start);
    }
    // Keeps the first count URLs only.
    void Truncate(std::size_t count)
    {
        FLines.resize(count == 0 ? 0 : FEnds[count - 1] + 2);
        FEnds.resize(count);
    }
    void Clear() { Truncate(0); }
    // Room for bytes of lines and count URLs, so that a batch rarely grows.
    void Reserve(std::size_t bytes, std::size_t count);

private:
    std::string FLines;
    std::vector<std::size_t> FEnds;  // where each URL's CR LF starts
};
