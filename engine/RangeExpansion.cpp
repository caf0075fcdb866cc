#include "Engine.h"
#include "FieldScan.h"
#include "IntegerText.h"

#include <algorithm>
#include <cstdint>
#include <limits>

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
    if (digitCount > MaxDigitCount)
        throw EFormatError("書式文字列が長すぎます");
    const bool negative = value < 0;
    std::string digits = std::to_string(negative ? -static_cast<std::int64_t>(value) : value);
    if (digitCount > 0 && digits.size() < static_cast<std::size_t>(digitCount))
        digits.insert(0, static_cast<std::size_t>(digitCount) - digits.size(), '0');
    return negative ? "-" + digits : digits;
}

void AddExpanded(std::string_view url, const TExtractOptions& options, TUrlList& list)
{
    if (!options.EXTRACTION)
        return list.Append(std::string(url));
    const std::size_t open = FindWhole(url, "[");
    const std::size_t close = FindWhole(url, "]");
    if (open == std::string_view::npos || close == std::string_view::npos || close < open)
        return list.Append(std::string(url));

    std::string_view startText, endText;
    ReadBoundTexts(url.substr(open, close - open + 1), startText, endText);
    if (startText.empty() || endText.empty())
        return list.Append(std::string(url));
    const int start = ParseRangeBound(startText);
    const int end = ParseRangeBound(endText);
    if (start == -1 || end == -1)
        return list.Append(std::string(url));

    const int digitCount = static_cast<int>(startText.size());
    const std::string first = ZeroPad(start, digitCount);  // refuses an over-long pattern first
    // 64-bit, so that a range ending at the largest int neither overflows nor loops.
    const std::int64_t last = std::max<std::int64_t>(start, end);
    const std::int64_t entries = last - start + 1;
    if (entries > MaxRangeEntries)
        throw EFormatError("範囲が大きすぎます（展開できるのは1,000,000件までです）");

    const std::string_view prefix = url.substr(0, open);
    const std::string_view suffix = url.substr(close + 1);
    const std::int64_t longestNumber = std::max<std::int64_t>(digitCount, 11);
    const std::int64_t entryBytes = static_cast<std::int64_t>(prefix.size() + suffix.size()) + longestNumber;
    if (entries * entryBytes > MaxRangeBytes)
        throw EFormatError("範囲が大きすぎます（展開後のURLが合わせて256MBを超えます）");
    for (std::int64_t i = start; i <= last; ++i) {
        const std::string number = i == start ? first : ZeroPad(static_cast<int>(i), digitCount);
        std::string entry;
        entry.reserve(prefix.size() + number.size() + suffix.size());
        entry.append(prefix).append(number).append(suffix);
        list.Append(std::move(entry));
    }
}
