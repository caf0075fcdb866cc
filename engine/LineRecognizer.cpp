#include "Engine.h"
#include "FieldScan.h"

#include <cstring>

namespace {

constexpr std::string_view Schemes[] = {"http://", "https://", "ftp://", "mms://", "rtsp://"};
constexpr char RecognizerDelimiters[] = " \"<>'";

const fields::TDelimiterTable& RecognizerTable()
{
    static const fields::TDelimiterTable table = fields::MakeDelimiterTable(RecognizerDelimiters);
    return table;
}

inline char LowerAscii(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + ('a' - 'A')) : c;
}

// The scheme (lower case) that starts at i ignoring ASCII case, or empty.
std::string_view SchemeAt(std::string_view line, std::size_t i)
{
    const char first = LowerAscii(line[i]);
    if (first != 'h' && first != 'f' && first != 'm' && first != 'r') return {};
    for (std::string_view scheme : Schemes) {
        if (scheme.front() != first || line.size() - i < scheme.size()) continue;
        bool same = true;
        for (std::size_t k = 1; k < scheme.size() && same; ++k) same = LowerAscii(line[i + k]) == scheme[k];
        if (same) return scheme;
    }
    return {};
}

bool HasAt(std::string_view line, std::size_t i, std::string_view pattern)
{
    return line.size() - i >= pattern.size() && line.compare(i, pattern.size(), pattern) == 0;
}

// Scheme spacing, the "://" rule and the "../" spacing in one pass. The
// passes cannot interact: none of their patterns overlaps another, inserted
// text holds no new match, and every insertion is ASCII placed where a
// character begins, so the byte kinds of the remaining text are unchanged.
void Normalize(std::string_view line, const TExtractOptions& options, std::string& out)
{
    out.clear();
    out.reserve(line.size() + line.size() / 4 + 16);
    std::size_t run = 0;  // lead values just before i
    for (std::size_t i = 0; i < line.size();) {
        const unsigned char c = sjis::At(line, i);
        if ((run & 1) == 0 || c == 0) {
            const std::string_view scheme = SchemeAt(line, i);
            if (!scheme.empty()) {
                out.push_back(' ');
                if (options.ALL) out.append(scheme.substr(0, scheme.size() - 3)).append(" http://");
                else out.append(scheme);
                i += scheme.size();
                run = 0;
                continue;
            }
            if (options.ALL && c == ':' && HasAt(line, i, "://")) {
                out.append(" http://");
                i += 3;
                run = 0;
                continue;
            }
            if (options.RULE1 && c == '.' && HasAt(line, i, "../")) {
                out.append(" ../");
                i += 3;
                run = 0;
                continue;
            }
        }
        out.push_back(static_cast<char>(c));
        run = sjis::LeadTable[c] ? run + 1 : 0;
        ++i;
    }
}

bool StartsWith(std::string_view text, std::string_view prefix)
{
    return text.substr(0, prefix.size()) == prefix;
}

bool StartsWithScheme(std::string_view field)
{
    for (std::string_view scheme : Schemes)
        if (StartsWith(field, scheme)) return true;
    return false;
}

void RecognizeField(std::string_view field, const TExtractOptions& options, bool memoCode, TUrlList& list)
{
    if (StartsWithScheme(field)) return AddExpanded(field, options, list);
    if (options.WWW && StartsWith(field, "www.")) return AddExpanded("http://" + std::string(field), options, list);
    if (memoCode && StartsWith(field, "ww.")) return AddExpanded("http://w" + std::string(field), options, list);
    if (options.RULE1 && StartsWith(field, "../")) return AddExpanded(field, options, list);
    if (options.RULE3 && ContainsWhole(field, "/") && ContainsWhole(field, "."))
        return AddExpanded(field, options, list);
    if (options.RULE2 && StartsWith(field, "/")) return AddExpanded(field, options, list);
}

bool Contains(std::string_view line, std::string_view pattern)
{
    return line.find(pattern) != std::string_view::npos;
}

// False only when no rule could accept any field of the line: every
// accepted field holds one of the trigger texts as raw bytes.
bool MayHoldUrl(std::string_view line, const TExtractOptions& options, bool memoCode)
{
    if (options.NTT) return true;  // kana can turn into any trigger
    if ((options.RULE2 || options.RULE3) && std::memchr(line.data(), '/', line.size())) return true;
    if (Contains(line, "://")) return true;
    if ((options.WWW || memoCode) && Contains(line, "ww.")) return true;
    return options.RULE1 && Contains(line, "../");
}

}  // namespace

void ExtractUrlsFromLine(std::string_view line, const TExtractOptions& options, TUrlList& list)
{
    const bool memoCode = options.MEMO == "KKK";
    if (!MayHoldUrl(line, options, memoCode)) return;

    thread_local std::string work;
    Normalize(line, options, work);
    std::string_view text = work;
    std::string converted;
    if (options.NTT) {
        converted = ConvertKanaKeys(work);
        text = converted;
    }
    fields::ScanFields(text, RecognizerTable(), [&](std::string_view field) {
        if (field.empty()) return false;
        RecognizeField(field, options, memoCode, list);
        return true;
    });
}
