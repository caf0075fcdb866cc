#include "Engine.h"
#include "IntegerText.h"

#include <algorithm>

namespace {

constexpr std::size_t MaxValueBytes = 2047;
constexpr char Section[] = "SYSTEM";

std::string_view TrimBlanks(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    const std::size_t last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

bool SameNameIgnoringCase(std::string_view a, std::string_view b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; };
        return lower(x) == lower(y);
    });
}

// The section name when the line is a section header.
std::optional<std::string_view> SectionNameOf(std::string_view line)
{
    line = TrimBlanks(line);
    if (line.empty() || line.front() != '[')
        return std::nullopt;
    line.remove_prefix(1);
    return TrimBlanks(line.substr(0, line.find(']')));
}

std::optional<std::string_view> KeyNameOf(std::string_view line)
{
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos || SectionNameOf(line))
        return std::nullopt;
    return TrimBlanks(line.substr(0, equals));
}

std::string_view RawValueOf(std::string_view line)
{
    return TrimBlanks(line.substr(line.find('=') + 1));
}

std::string_view Unquote(std::string_view value)
{
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        return value.substr(1, value.size() - 2);
    return value;
}

// Cut to the byte limit, but never through a double-byte character.
std::string_view CutToLimit(std::string_view value)
{
    if (value.size() <= MaxValueBytes)
        return value;
    std::size_t keep = MaxValueBytes;
    if (ByteKindAt(value, keep + 1) == TByteKind::Second)
        --keep;
    return value.substr(0, keep);
}

// A line break inside a value would split the line and corrupt the file.
std::string WithoutLineBreaks(std::string_view value)
{
    std::string result;
    for (char c : value)
        if (c != '\r' && c != '\n')
            result.push_back(c);
    return result;
}

bool IsBlankOrQuote(char c)
{
    return c == ' ' || c == '\t' || c == '"' || c == '\'';
}

// Reading trims blanks and takes off one pair of quotes; an extra pair keeps
// such a value whole. Other values stay bare, as older files and peers have them.
std::string QuotedIfReadingWouldAlter(std::string value)
{
    if (value.empty() || (!IsBlankOrQuote(value.front()) && !IsBlankOrQuote(value.back())))
        return value;
    return '"' + value + '"';
}

}  // namespace

TIniFile::TIniFile(std::string_view contents)
{
    std::size_t start = 0;
    while (start < contents.size()) {
        const std::size_t end = contents.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            FLines.emplace_back(contents.substr(start));
            break;
        }
        FLines.emplace_back(contents.substr(start, end - start));
        start = end + 1;
        if (contents[end] == '\r' && start < contents.size() && contents[start] == '\n')
            ++start;
    }
}

namespace {

// [begin, end) of the body of the first section so named; nullopt when none.
std::optional<std::pair<std::size_t, std::size_t>> FindSection(const std::vector<std::string>& lines,
                                                               std::string_view section)
{
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const auto name = SectionNameOf(lines[i]);
        if (!name || !SameNameIgnoringCase(*name, section))
            continue;
        std::size_t end = i + 1;
        while (end < lines.size() && !SectionNameOf(lines[end]))
            ++end;
        return std::make_pair(i + 1, end);
    }
    return std::nullopt;
}

std::optional<std::size_t> FindKey(const std::vector<std::string>& lines, std::size_t begin, std::size_t end,
                                   std::string_view key)
{
    for (std::size_t i = begin; i < end; ++i) {
        const auto name = KeyNameOf(lines[i]);
        if (name && SameNameIgnoringCase(*name, key))
            return i;
    }
    return std::nullopt;
}

}  // namespace

std::optional<std::string> TIniFile::ReadString(std::string_view section, std::string_view key) const
{
    const auto body = FindSection(FLines, section);
    if (!body)
        return std::nullopt;
    const auto line = FindKey(FLines, body->first, body->second, key);
    if (!line)
        return std::nullopt;
    return std::string(CutToLimit(Unquote(RawValueOf(FLines[*line]))));
}

int TIniFile::ReadInteger(std::string_view section, std::string_view key, int fallback) const
{
    const auto text = ReadString(section, key);
    if (!text)
        return fallback;
    return integers::ParseInteger(*text).value_or(fallback);
}

bool TIniFile::ReadBool(std::string_view section, std::string_view key, bool fallback) const
{
    return ReadInteger(section, key, fallback ? 1 : 0) != 0;
}

void TIniFile::WriteString(std::string_view section, std::string_view key, std::string_view value)
{
    std::string line = std::string(key) + "=" + QuotedIfReadingWouldAlter(WithoutLineBreaks(value));
    const auto body = FindSection(FLines, section);
    if (!body) {
        std::string header = "[";
        header.append(section).append("]");
        FLines.push_back(std::move(header));
        FLines.push_back(std::move(line));
        return;
    }
    if (const auto existing = FindKey(FLines, body->first, body->second, key)) {
        FLines[*existing] = std::move(line);
        return;
    }
    std::size_t at = body->second;
    while (at > body->first && TrimBlanks(FLines[at - 1]).empty())
        --at;
    FLines.insert(FLines.begin() + static_cast<std::ptrdiff_t>(at), std::move(line));
}

std::string TIniFile::Contents() const
{
    std::string text;
    for (const std::string& line : FLines)
        text.append(line).append("\r\n");
    return text;
}

TExtractOptions ReadExtractOptions(const TIniFile& ini)
{
    TExtractOptions options;  // starts at the defaults, which are the fallbacks
    auto readBool = [&](const char* key, bool& field) { field = ini.ReadBool(Section, key, field); };
    auto readText = [&](const char* key, std::string& field) {
        field = ini.ReadString(Section, key).value_or(field);
    };
    readText("PREFIX", options.ShortcutPrefix);
    options.ShortcutDigits = std::clamp(ini.ReadInteger(Section, "NUMBER", options.ShortcutDigits), 1, 5);
    readBool("WWW", options.WwwRule);
    readBool("ALL", options.SchemeRule);
    readBool("NTT", options.KanaConversion);
    readBool("EXTRACTION", options.RangeExpansion);
    readBool("CB", options.ClipboardMonitoring);
    readBool("LINK", options.LinkPageWithoutDialog);
    readBool("RULE1", options.ParentPathRule);
    readBool("RULE2", options.RootPathRule);
    readBool("RULE3", options.SlashDotRule);
    readBool("LINKTARGETS", options.LinkTargets);
    readBool("UTF8LIST", options.Utf8List);
    readText("BEFORE", options.ReplaceFrom);
    readText("AFTER", options.ReplaceTo);
    readText("SEARCH", options.SearchText);
    readText("MEMO", options.MemoLine);
    return options;
}

void WriteExtractOptions(TIniFile& ini, const TExtractOptions& options)
{
    auto writeBool = [&](const char* key, bool on) { ini.WriteString(Section, key, on ? "1" : "0"); };
    ini.WriteString(Section, "PREFIX", options.ShortcutPrefix);
    ini.WriteString(Section, "NUMBER", std::to_string(options.ShortcutDigits));
    writeBool("WWW", options.WwwRule);
    writeBool("ALL", options.SchemeRule);
    writeBool("NTT", options.KanaConversion);
    writeBool("LINK", options.LinkPageWithoutDialog);
    writeBool("EXTRACTION", options.RangeExpansion);
    writeBool("CB", options.ClipboardMonitoring);
    ini.WriteString(Section, "MEMO", options.MemoLine);
    ini.WriteString(Section, "BEFORE", options.ReplaceFrom);
    ini.WriteString(Section, "AFTER", options.ReplaceTo);
    ini.WriteString(Section, "SEARCH", options.SearchText);
    writeBool("RULE1", options.ParentPathRule);
    writeBool("RULE2", options.RootPathRule);
    writeBool("RULE3", options.SlashDotRule);
    writeBool("LINKTARGETS", options.LinkTargets);
    writeBool("UTF8LIST", options.Utf8List);
}
