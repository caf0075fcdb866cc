#include "Engine.h"
#include "FieldScan.h"
#include "IntegerText.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <iterator>

namespace {

constexpr int MaxDigitCount = 224;
constexpr char RangeDelimiters[] = "[]- ";

// Fields 1 and 2 of the bracket text, as FieldAt numbers them.
void ReadBoundTexts(std::string_view bracket, std::string_view& startText, std::string_view& endText)
{
    int k = 0;
    fields::ScanFields(bracket, fields::MakeDelimiterTable(RangeDelimiters), [&](std::string_view value) {
        ++k;
        (k == 1 ? startText : endText) = value;
        return k < 2;
    });
}

void RefuseOverlongPattern(int digitCount)
{
    if (digitCount > MaxDigitCount)
        throw EFormatError("書式文字列が長すぎます");
}

// ZeroPad into the caller's buffer, so that expanding a range builds every
// entry in one string instead of allocating per number.
void AppendZeroPadded(std::string& out, std::int64_t value, int digitCount)
{
    RefuseOverlongPattern(digitCount);
    if (value < 0)
        out.push_back('-');
    std::uint64_t magnitude =
        value < 0 ? static_cast<std::uint64_t>(-value) : static_cast<std::uint64_t>(value);
    char digits[24];
    char* first = std::end(digits);
    do {
        *--first = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    const auto written = static_cast<int>(std::end(digits) - first);
    if (written < digitCount)
        out.append(static_cast<std::size_t>(digitCount - written), '0');
    out.append(first, std::end(digits));
}

}  // namespace

int ParseRangeBound(std::string_view text)
{
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    if (text.empty())
        return -1;
    const bool hexSign = text.front() == '$' || text.front() == 'x' || text.front() == 'X';
    return (hexSign ? integers::ParseHex(text.substr(1)) : integers::ParseInteger(text)).value_or(-1);
}

std::string ZeroPad(int value, int digitCount)
{
    std::string text;
    AppendZeroPadded(text, value, digitCount);
    return text;
}

void AddExpanded(std::string_view url, const TExtractOptions& options, TUrlList& list)
{
    TUrlListSink sink(list);
    AddExpanded(url, options, sink);
}

void AddExpanded(std::string_view url, const TExtractOptions& options, TUrlSink& sink)
{
    // Most URLs hold no "[" at all, which one byte search tells.
    if (!options.RangeExpansion || !std::memchr(url.data(), '[', url.size()))
        return sink.Add(url);
    const std::size_t open = FindWhole(url, "[");
    if (open == std::string_view::npos)
        return sink.Add(url);
    const std::size_t close = FindWhole(url, "]");
    if (close == std::string_view::npos || close < open)
        return sink.Add(url);

    std::string_view startText, endText;
    ReadBoundTexts(url.substr(open, close - open + 1), startText, endText);
    if (startText.empty() || endText.empty())
        return sink.Add(url);
    const int start = ParseRangeBound(startText);
    const int end = ParseRangeBound(endText);
    if (start == -1 || end == -1)
        return sink.Add(url);

    const int digitCount = static_cast<int>(startText.size());
    RefuseOverlongPattern(digitCount);  // before the size checks, as the formatter refuses first
    // 64-bit, so that a range ending at the largest int neither overflows nor loops.
    const std::int64_t last = std::max<std::int64_t>(start, end);
    const std::int64_t entries = last - start + 1;
    if (entries > MaxRangeEntries || entries > sink.RangeEntriesLeft)
        throw EFormatError("範囲が大きすぎます（展開できるのは1,000,000件までです）");

    const std::string_view prefix = url.substr(0, open);
    const std::string_view suffix = url.substr(close + 1);
    const std::int64_t longestNumber = std::max<std::int64_t>(digitCount, 11);
    const std::int64_t entryBytes = static_cast<std::int64_t>(prefix.size() + suffix.size()) + longestNumber;
    if (entries * entryBytes > MaxRangeBytes)
        throw EFormatError("範囲が大きすぎます（展開後のURLが合わせて256MBを超えます）");
    sink.RangeEntriesLeft -= entries;
    std::string entry;
    entry.reserve(static_cast<std::size_t>(entryBytes));
    for (std::int64_t i = start; i <= last; ++i) {
        entry.assign(prefix);
        AppendZeroPadded(entry, i, digitCount);
        entry.append(suffix);
        sink.Add(entry);
    }
}
