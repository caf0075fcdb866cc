// A settings file is read, the settings are written back into it and read
// again: the values must come back, and nothing else in the file may change.
// Half the inputs also carry texts of their own for the string settings, as
// the controls would hand them over (line breaks, long texts, any bytes).
#include <array>
#include <string>
#include <utility>
#include <vector>

#include "FuzzSupport.h"
#include "engine/Engine.h"

namespace {

constexpr std::size_t MaxValueBytes = 2047;
constexpr char Section[] = "SYSTEM";
const std::array<const char*, 17> Keys = {"PREFIX", "NUMBER", "WWW",   "ALL",         "NTT",     "EXTRACTION",
                                          "CB",     "LINK",   "RULE1", "RULE2",       "RULE3",   "BEFORE",
                                          "AFTER",  "SEARCH", "MEMO",  "LINKTARGETS", "UTF8LIST"};

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

std::string WithoutLineBreaks(std::string_view value)
{
    std::string result;
    for (const char c : value)
        if (c != '\r' && c != '\n')
            result.push_back(c);
    return result;
}

// What a reader gets for a value the writer was given.
std::string AsReadBack(std::string_view written)
{
    if (written.size() <= MaxValueBytes)
        return std::string(written);
    const bool splitsCharacter = ByteKindAt(written, MaxValueBytes + 1) == TByteKind::Second;
    return std::string(written.substr(0, MaxValueBytes - (splitsCharacter ? 1 : 0)));
}

std::vector<std::pair<std::string, std::string*>> Texts(TExtractOptions& options)
{
    return {{"PREFIX", &options.ShortcutPrefix},
            {"BEFORE", &options.ReplaceFrom},
            {"AFTER", &options.ReplaceTo},
            {"SEARCH", &options.SearchText},
            {"MEMO", &options.MemoLine}};
}

std::string Describe(const TExtractOptions& o)
{
    std::string text = "NUMBER=" + std::to_string(o.ShortcutDigits) + " switches=";
    for (const bool on : {o.WwwRule, o.SchemeRule, o.KanaConversion, o.RangeExpansion, o.ClipboardMonitoring,
                          o.LinkPageWithoutDialog, o.ParentPathRule, o.RootPathRule, o.SlashDotRule})
        text += on ? '1' : '0';
    auto copy = o;
    for (const auto& [key, value] : Texts(copy))
        text += "\n" + key + "=[" + fuzz::Escaped(*value) + "]";
    return text;
}

bool Same(const TExtractOptions& a, const TExtractOptions& b)
{
    return Describe(a) == Describe(b);
}

// Case-insensitive, as the reader compares names.
bool SameName(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; };
        if (lower(a[i]) != lower(b[i]))
            return false;
    }
    return true;
}

std::string_view Trimmed(std::string_view text)
{
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

// Every section and key name the file seems to hold. A rough reading is
// enough: names that are not really there read as missing on both sides.
std::vector<std::pair<std::string, std::string>> NamedKeys(std::string_view contents)
{
    std::vector<std::pair<std::string, std::string>> keys;
    std::string section;
    std::size_t start = 0;
    while (start <= contents.size()) {
        const std::size_t end = std::min(contents.find_first_of("\r\n", start), contents.size());
        const std::string_view line = Trimmed(contents.substr(start, end - start));
        if (!line.empty() && line.front() == '[')
            section = Trimmed(line.substr(1, line.find(']') - 1));
        else if (const std::size_t equals = line.find('='); equals != std::string_view::npos)
            keys.emplace_back(section, Trimmed(line.substr(0, equals)));
        start = end + 1;
    }
    return keys;
}

bool WrittenByTheProgram(const std::string& section, const std::string& key)
{
    if (!SameName(section, Section))
        return false;
    for (const char* name : Keys)
        if (SameName(key, name))
            return true;
    return false;
}

// The texts the input carries after the file, cut at 0xFF bytes (which
// Shift_JIS never uses); the settings they stand for are what is written.
void TakeTextsFrom(std::string_view rest, std::uint8_t choices, TExtractOptions& options,
                   TExtractOptions& expected)
{
    options.ShortcutDigits = expected.ShortcutDigits = 1 + choices % 5;
    options.WwwRule = expected.WwwRule = choices & 0x08;
    options.SlashDotRule = expected.SlashDotRule = choices & 0x10;
    for (const auto& [key, value] : Texts(options)) {
        const std::size_t cut = std::min(rest.find('\xFF'), rest.size());
        *value = std::string(rest.substr(0, cut));
        rest.remove_prefix(std::min(cut + 1, rest.size()));
    }
    auto given = Texts(options);
    auto wanted = Texts(expected);
    for (std::size_t i = 0; i < given.size(); ++i)
        *wanted[i].second = AsReadBack(WithoutLineBreaks(*given[i].second));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::TInput input(data, size);
    const std::uint8_t choices = input.Byte();
    std::string_view contents = input.Rest();
    std::string_view givenTexts;
    const bool textsGiven = choices & 0x80;
    if (textsGiven) {
        const std::size_t cut = std::min(contents.find('\xFF'), contents.size());
        givenTexts = contents.substr(std::min(cut + 1, contents.size()));
        contents = contents.substr(0, cut);
    }

    const TIniFile original(contents);
    TExtractOptions options = ReadExtractOptions(original);
    TExtractOptions expected = options;
    if (textsGiven)
        TakeTextsFrom(givenTexts, choices, options, expected);

    TIniFile saved(contents);
    WriteExtractOptions(saved, options);
    const std::string savedText = saved.Contents();
    const TIniFile reread(savedText);
    const TExtractOptions back = ReadExtractOptions(reread);

    // Values with blanks or quotes at their edges are written inside quotes
    // of their own, so every value the options can hold must come back.
    if (!Same(back, expected))
        fuzz::Fail("settings did not survive writing", "expected:\n" + Describe(expected) + "\nread back:\n"
                                                           + Describe(back) + "\nfile:\n"
                                                           + fuzz::Escaped(savedText));

    for (const auto& [section, key] : NamedKeys(contents)) {
        if (WrittenByTheProgram(section, key))
            continue;
        if (original.ReadString(section, key) != reread.ReadString(section, key))
            fuzz::Fail("a value the program does not own changed", fuzz::Escaped(section) + " / "
                                                                       + fuzz::Escaped(key) + "\nfile:\n"
                                                                       + fuzz::Escaped(savedText));
    }

    // Saving again what came back whole must leave the file as it is.
    if (Same(back, options)) {
        TIniFile again(savedText);
        WriteExtractOptions(again, back);
        if (again.Contents() != savedText)
            fuzz::Fail("a second save changed the file",
                       fuzz::Escaped(savedText) + "\nthen:\n" + fuzz::Escaped(again.Contents()));
    }
    return 0;
}
