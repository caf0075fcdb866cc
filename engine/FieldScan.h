#pragma once
// The splitter's one scanning loop, shared by FieldAt, FieldCount,
// ForEachField and the recognizer's hot path. Internal header.
#include <array>
#include <cstddef>
#include <string_view>

#include "ShiftJisScan.h"

namespace fields {

using TDelimiterTable = std::array<bool, 256>;

// NUL separates fields whatever set the caller chose.
inline TDelimiterTable MakeDelimiterTable(std::string_view delimiters)
{
    TDelimiterTable table{};
    for (char c : delimiters)
        table[static_cast<unsigned char>(c)] = true;
    table[0] = true;
    return table;
}

// Calls onField(value) for every field in order, empty ones included, until
// onField returns false or the text ends. Byte kinds are tracked forwards:
// `run` is the number of lead values just before p.
template <class OnField>
void ScanFields(std::string_view text, const TDelimiterTable& delimiters, OnField&& onField)
{
    const std::size_t length = text.size();
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(text.data());
    std::size_t p = 0;
    std::size_t run = 0;
    auto isDelimiter = [&](unsigned char c) {
        // Only a single-byte character separates: not a second byte, not a lead byte.
        return delimiters[c] && (c == 0 || ((run & 1) == 0 && !sjis::LeadTable[c]));
    };
    auto advance = [&] {
        run = sjis::LeadTable[bytes[p]] ? run + 1 : 0;
        ++p;
    };
    while (p < length) {
        while (p < length && isDelimiter(bytes[p]))
            advance();
        if (p >= length)
            return;
        const std::size_t start = p;
        if (bytes[p] == '"') {
            advance();
            while (p < length && bytes[p] != '"')
                advance();
            if (p < length)
                advance();
        } else {
            while (p < length && bytes[p] != '"' && !isDelimiter(bytes[p]))
                advance();
        }
        std::string_view value = text.substr(start, p - start);
        if (!value.empty() && value.front() == '"')
            value.remove_prefix(1);
        if (!value.empty() && value.back() == '"')
            value.remove_suffix(1);
        if (!onField(value))
            return;
    }
}

}  // namespace fields
