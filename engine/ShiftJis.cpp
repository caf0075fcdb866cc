#include "Engine.h"
#include "ShiftJisScan.h"

#include <cstring>

using sjis::At;
using sjis::LeadTable;

bool IsLeadByteValue(unsigned char value)
{
    return sjis::IsLeadValue(value);
}

TByteKind ByteKindAt(std::string_view text, std::size_t p)
{
    if (p < 1 || p > text.size())
        return TByteKind::Single;
    const unsigned char c = At(text, p - 1);
    if (c == 0)
        return TByteKind::Single;
    std::size_t run = 0;
    for (std::size_t q = p - 1; q > 0 && LeadTable[At(text, q - 1)]; --q)
        ++run;
    if (run % 2 == 1)
        return TByteKind::Second;
    return LeadTable[c] ? TByteKind::Lead : TByteKind::Single;
}

bool IsDelimiterAt(std::string_view delimiters, std::string_view text, std::size_t p)
{
    if (p < 1 || p > text.size())
        return false;
    const char c = text[p - 1];
    if (c != 0 && delimiters.find(c) == std::string_view::npos)
        return false;
    return ByteKindAt(text, p) == TByteKind::Single;
}

namespace {

inline unsigned char FoldAscii(unsigned char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c + ('a' - 'A')) : c;
}

bool MatchesFolded(std::string_view text, std::size_t at, std::string_view pattern)
{
    for (std::size_t k = 0; k < pattern.size(); ++k)
        if (FoldAscii(At(text, at + k)) != FoldAscii(At(pattern, k)))
            return false;
    return true;
}

// The next raw occurrence at or after from, whatever the kind of its bytes.
std::size_t FindRaw(std::string_view text, std::string_view pattern, std::size_t from, bool ignoreCase)
{
    if (!ignoreCase)
        return text.find(pattern, from);
    if (pattern.size() > text.size())
        return std::string_view::npos;
    const unsigned char first = FoldAscii(At(pattern, 0));
    const bool firstIsLetter = first >= 'a' && first <= 'z';
    const std::size_t last = text.size() - pattern.size();
    for (std::size_t i = from; i <= last; ++i) {
        const unsigned char c = At(text, i);
        if (c != first && !(firstIsLetter && FoldAscii(c) == first))
            continue;
        if (MatchesFolded(text, i, pattern))
            return i;
    }
    return std::string_view::npos;
}

std::size_t FindWholeWith(sjis::TSecondByteCursor& cursor, std::string_view text, std::string_view pattern,
                          std::size_t from, bool ignoreCase)
{
    for (std::size_t i = FindRaw(text, pattern, from, ignoreCase); i != std::string_view::npos;
         i = FindRaw(text, pattern, i + 1, ignoreCase)) {
        if (!cursor.IsSecondAt(i))
            return i;
    }
    return std::string_view::npos;
}

}  // namespace

std::size_t FindWhole(std::string_view text, std::string_view pattern, std::size_t from, bool ignoreCase)
{
    if (pattern.empty() || from >= text.size())
        return std::string_view::npos;
    sjis::TSecondByteCursor cursor(text);
    return FindWholeWith(cursor, text, pattern, from, ignoreCase);
}

bool ContainsWhole(std::string_view text, std::string_view pattern, bool ignoreCase)
{
    return FindWhole(text, pattern, 0, ignoreCase) != std::string_view::npos;
}

void FindAllWhole(std::string_view text, std::string_view pattern, std::vector<std::size_t>& offsets,
                  bool ignoreCase)
{
    offsets.clear();
    if (pattern.empty() || pattern.size() > text.size())
        return;
    sjis::TSecondByteCursor cursor(text);
    for (std::size_t i = FindWholeWith(cursor, text, pattern, 0, ignoreCase); i != std::string_view::npos;
         i = FindWholeWith(cursor, text, pattern, i + pattern.size(), ignoreCase)) {
        offsets.push_back(i);
        if (i + pattern.size() >= text.size())
            break;
    }
}

std::string ReplaceSpans(std::string_view text, std::span<const std::size_t> offsets, std::size_t length,
                         std::string_view replacement)
{
    std::string result;
    result.reserve(text.size() - offsets.size() * length + offsets.size() * replacement.size());
    std::size_t copied = 0;
    for (std::size_t offset : offsets) {
        result.append(text.substr(copied, offset - copied));
        result.append(replacement);
        copied = offset + length;
    }
    result.append(text.substr(copied));
    return result;
}

std::string ReplaceAllWhole(std::string_view text, std::string_view pattern, std::string_view replacement,
                            bool ignoreCase)
{
    std::vector<std::size_t> offsets;
    FindAllWhole(text, pattern, offsets, ignoreCase);
    return ReplaceSpans(text, offsets, pattern.size(), replacement);
}

std::size_t FindLastSingleByte(std::string_view text, char c)
{
    // One forward pass: a backward search would rewalk long lead runs.
    std::size_t found = std::string_view::npos;
    std::size_t run = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const unsigned char b = At(text, i);
        const bool second = (run & 1) != 0 && b != 0;
        if (!second && !LeadTable[b] && text[i] == c)
            found = i;
        run = LeadTable[b] ? run + 1 : 0;
    }
    return found;
}
