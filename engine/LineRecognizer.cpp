#include "ByteSearch.h"
#include "Engine.h"
#include "KanaKeys.h"
#include "RecognizerScan.h"

#include <cstring>

namespace {

constexpr std::string_view Schemes[] = {"http://", "https://", "ftp://", "mms://", "rtsp://"};

inline char LowerAscii(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + ('a' - 'A')) : c;
}

bool EqualsIgnoringCase(std::string_view text, std::string_view lower)
{
    for (std::size_t k = 0; k < lower.size(); ++k)
        if (LowerAscii(text[k]) != lower[k])
            return false;
    return true;
}

// The scheme whose "://" starts at colon, ignoring case, or empty. At most
// one can end there: no scheme name is a suffix of another.
std::string_view SchemeEndingAt(std::string_view line, std::size_t colon, std::size_t from)
{
    for (std::string_view scheme : Schemes) {
        const std::size_t nameLength = scheme.size() - 3;
        if (colon - from < nameLength)
            continue;
        if (EqualsIgnoringCase(line.substr(colon - nameLength, nameLength), scheme.substr(0, nameLength)))
            return scheme;
    }
    return {};
}

bool HasAt(std::string_view line, std::size_t i, std::string_view pattern)
{
    return line.size() - i >= pattern.size() && line.compare(i, pattern.size(), pattern) == 0;
}

// Scheme spacing, the "://" rule and the "../" spacing in one pass over the
// ":" and "." bytes. The passes cannot interact: no pattern overlaps
// another, inserted text holds no new match, and each insertion is ASCII
// placed where a character begins, so the byte kinds of the rest stay put.
// False when the line needs no change.
bool Normalize(std::string_view line, const TExtractOptions& options, std::string& out)
{
    const auto* bytes = reinterpret_cast<const unsigned char*>(line.data());
    const unsigned char dot = options.RULE1 ? '.' : ':';  // "." matters only to the "../" spacing
    auto candidateFrom = [&](std::size_t from) {
        return bytesearch::FindEither(bytes, from, line.size(), ':', dot);
    };
    std::size_t next = candidateFrom(0);
    if (next == line.size())
        return false;
    out.clear();
    out.reserve(line.size() + line.size() / 4 + 16);
    sjis::TSecondByteCursor kinds(line);
    std::size_t copied = 0;
    for (; next < line.size(); next = candidateFrom(next + 1)) {
        if (next < copied)
            continue;
        if (line[next] == '.') {
            if (HasAt(line, next, "../") && !kinds.IsSecondAt(next)) {
                out.append(line.substr(copied, next - copied)).append(" ../");
                copied = next + 3;
            }
            continue;
        }
        if (!HasAt(line, next, "://"))
            continue;
        const std::string_view scheme = SchemeEndingAt(line, next, copied);
        const std::size_t start = next - (scheme.empty() ? 0 : scheme.size() - 3);
        if (!scheme.empty() && !kinds.IsSecondAt(start)) {
            out.append(line.substr(copied, start - copied)).push_back(' ');
            if (options.ALL)
                out.append(scheme.substr(0, scheme.size() - 3)).append(" http://");
            else
                out.append(scheme);
            copied = next + 3;
        } else if (options.ALL && !kinds.IsSecondAt(next)) {
            out.append(line.substr(copied, next - copied)).append(" http://");
            copied = next + 3;
        }
    }
    out.append(line.substr(copied));
    return true;
}

bool StartsWith(std::string_view text, std::string_view prefix)
{
    return text.size() >= prefix.size() && std::memcmp(text.data(), prefix.data(), prefix.size()) == 0;
}

bool StartsWithScheme(std::string_view field)
{
    switch (field.front()) {
    case 'h':
        return StartsWith(field, "http://") || StartsWith(field, "https://");
    case 'f':
        return StartsWith(field, "ftp://");
    case 'm':
        return StartsWith(field, "mms://");
    case 'r':
        return StartsWith(field, "rtsp://");
    default:
        return false;
    }
}

void AddWithPrefix(std::string_view prefix, std::string_view field, const TExtractOptions& options,
                   TUrlList& list)
{
    std::string url;
    url.reserve(prefix.size() + field.size());
    url.append(prefix).append(field);
    AddExpanded(url, options, list);
}

void RecognizeField(std::string_view field, const TExtractOptions& options, bool memoCode, TUrlList& list)
{
    if (StartsWithScheme(field))
        return AddExpanded(field, options, list);
    if (options.WWW && StartsWith(field, "www."))
        return AddWithPrefix("http://", field, options, list);
    if (memoCode && StartsWith(field, "ww."))
        return AddWithPrefix("http://w", field, options, list);
    if (options.RULE1 && StartsWith(field, "../"))
        return AddExpanded(field, options, list);
    if (options.RULE3 && ContainsWhole(field, "/") && ContainsWhole(field, "."))
        return AddExpanded(field, options, list);
    if (options.RULE2 && StartsWith(field, "/"))
        return AddExpanded(field, options, list);
}

// False only when no rule could accept any field of the line: every
// accepted field holds one of the trigger texts as raw bytes. One pass over
// the ":" and "." bytes, which Japanese text itself never holds.
bool MayHoldUrl(std::string_view line, const TExtractOptions& options, bool memoCode)
{
    if (options.NTT)
        return true;  // kana can turn into any trigger
    if ((options.RULE2 || options.RULE3) && std::memchr(line.data(), '/', line.size()))
        return true;
    const auto* bytes = reinterpret_cast<const unsigned char*>(line.data());
    const std::size_t length = line.size();
    const bool wwwDots = options.WWW || memoCode;
    for (std::size_t i = bytesearch::FindEither(bytes, 0, length, ':', '.'); i < length;
         i = bytesearch::FindEither(bytes, i + 1, length, ':', '.')) {
        if (bytes[i] == ':') {
            if (HasAt(line, i, "://"))
                return true;
        } else if ((wwwDots && i >= 2 && bytes[i - 1] == 'w' && bytes[i - 2] == 'w')
                   || (options.RULE1 && HasAt(line, i, "../"))) {
            return true;
        }
    }
    return false;
}

}  // namespace

void ExtractUrlsFromLine(std::string_view line, const TExtractOptions& options, TUrlList& list)
{
    const bool memoCode = options.MEMO == "KKK";
    if (!MayHoldUrl(line, options, memoCode))
        return;

    thread_local std::string normalized;
    thread_local std::string converted;
    std::string_view text = Normalize(line, options, normalized) ? std::string_view(normalized) : line;
    if (options.NTT) {
        ConvertKanaKeysInto(text, converted);
        text = converted;
    }
    recognizer::ScanFields(text, [&](std::string_view field) {
        RecognizeField(field, options, memoCode, list);
        return true;
    });
}
