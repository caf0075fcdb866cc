#include "LineRecognizer.h"
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

enum class TLineShape { NoUrl, AsWritten, Spaced };

// Scheme spacing, the "://" rule and the "../" spacing in one pass over the
// ":" and "." bytes. The passes cannot interact: no pattern overlaps
// another, inserted text holds no new match, and each insertion is ASCII
// placed where a character begins, so the byte kinds of the rest stay put.
// The same pass tells NoUrl when no rule could accept any field: every
// accepted field holds one of the trigger texts as raw bytes, which
// Japanese text itself never holds; kana typed for them are the exception.
TLineShape Normalize(std::string_view line, std::size_t quietUntil, const TExtractOptions& options,
                     bool memoCode, std::string& out)
{
    const auto* bytes = reinterpret_cast<const unsigned char*>(line.data());
    const std::size_t length = line.size();
    const bool wwwDots = options.WWW || memoCode;
    bool mayHold = options.NTT || ((options.RULE2 || options.RULE3) && std::memchr(bytes, '/', length));
    bytesearch::TMatchWalker candidates(bytes, length, bytesearch::TEitherMatcher(':', '.'));
    auto candidateFrom = [&](std::size_t from) { return candidates.NextFrom(from); };
    sjis::TSecondByteCursor kinds(line);
    bool spaced = false;
    std::size_t copied = 0;
    auto copyUpTo = [&](std::size_t end) -> std::string& {
        if (!spaced) {
            out.clear();
            out.reserve(length + length / 4 + 16);
            spaced = true;
        }
        return out.append(line.substr(copied, end - copied));
    };
    for (std::size_t next = candidateFrom(quietUntil); next < length; next = candidateFrom(next + 1)) {
        if (next < copied)
            continue;
        if (bytes[next] == '.') {
            // Dots matter to the "../" spacing, and to the www rules while undecided.
            if (options.RULE1 && HasAt(line, next, "../")) {
                mayHold = true;
                if (!kinds.IsSecondAt(next)) {
                    copyUpTo(next).append(" ../");
                    copied = next + 3;
                }
            } else if (wwwDots && next >= 2 && bytes[next - 1] == 'w' && bytes[next - 2] == 'w') {
                mayHold = true;
            }
            continue;
        }
        if (!HasAt(line, next, "://"))
            continue;
        mayHold = true;
        const std::string_view scheme = SchemeEndingAt(line, next, copied);
        const std::size_t start = next - (scheme.empty() ? 0 : scheme.size() - 3);
        if (!scheme.empty() && !kinds.IsSecondAt(start)) {
            copyUpTo(start).push_back(' ');
            if (options.ALL)
                out.append(scheme.substr(0, scheme.size() - 3)).append(" http://");
            else
                out.append(scheme);
            copied = next + 3;
        } else if (options.ALL && !kinds.IsSecondAt(next)) {
            copyUpTo(next).append(" http://");
            copied = next + 3;
        }
    }
    if (!mayHold)
        return TLineShape::NoUrl;
    if (!spaced)
        return TLineShape::AsWritten;
    out.append(line.substr(copied));
    return TLineShape::Spaced;
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
                   TUrlSink& sink)
{
    thread_local std::string url;
    url.assign(prefix).append(field);
    AddExpanded(url, options, sink);
}

bool HoldsSlashAndDot(std::string_view field)
{
    return ContainsWhole(field, "/") && ContainsWhole(field, ".");
}

// Whether the kana conversion of field could hold c: c itself, or the kana
// that turns into it, found at any alignment.
bool MayConvertToHold(std::string_view field, char c, std::string_view kana)
{
    return std::memchr(field.data(), c, field.size())
           || memmem(field.data(), field.size(), kana.data(), kana.size());
}

// The prefix rules read no more than "https://".
constexpr std::size_t HeadLength = 8;

// The field rules, first match wins. With the kana conversion on, a field
// is converted lazily: its first bytes for the prefix rules, the whole only
// when it is accepted or when the slash-and-dot rule must look inside.
class TFieldRules {
public:
    TFieldRules(const TExtractOptions& options, bool memoCode, TUrlSink& sink)
        : FOptions(options), FMemoCode(memoCode), FSink(sink)
    { }

    void Recognize(std::string_view field) const
    {
        if (!FOptions.NTT)
            return Apply(field, field, [field] { return field; });
        // Most fields are Japanese text whose first character cannot begin
        // any prefix; one converted character tells.
        char head[HeadLength + 1];
        head[0] = FirstConvertedByte(field);
        std::size_t headLength = 1;
        if (std::memchr("hfmrw./", head[0], 7))
            headLength = ConvertKanaKeysHead(field, head, HeadLength);
        Apply(std::string_view(head, headLength), field, [field]() -> std::string_view {
            thread_local std::string whole;
            ConvertKanaKeysInto(field, whole);
            return whole;
        });
    }

private:
    template <class Whole> void Apply(std::string_view head, std::string_view raw, Whole&& whole) const
    {
        if (StartsWithScheme(head))
            return AddExpanded(whole(), FOptions, FSink);
        if (FOptions.WWW && StartsWith(head, "www."))
            return AddWithPrefix("http://", whole(), FOptions, FSink);
        if (FMemoCode && StartsWith(head, "ww."))
            return AddWithPrefix("http://w", whole(), FOptions, FSink);
        if (FOptions.RULE1 && StartsWith(head, "../"))
            return AddExpanded(whole(), FOptions, FSink);
        if (FOptions.RULE3 && MayHoldSlashAndDot(raw)) {
            const std::string_view text = whole();
            if (HoldsSlashAndDot(text))
                return AddExpanded(text, FOptions, FSink);
        }
        if (FOptions.RULE2 && StartsWith(head, "/"))
            return AddExpanded(whole(), FOptions, FSink);
    }

    // A cheap test that passes every field the slash-and-dot rule accepts.
    bool MayHoldSlashAndDot(std::string_view raw) const
    {
        if (!FOptions.NTT)
            return true;
        return MayConvertToHold(raw, '/', "\x82\xDF") && MayConvertToHold(raw, '.', "\x82\xE9");  // め, る
    }

    const TExtractOptions& FOptions;
    bool FMemoCode;
    TUrlSink& FSink;
};

}  // namespace

void RecognizeLine(std::string_view line, std::size_t quietUntil, const TExtractOptions& options,
                   TUrlSink& sink)
{
    const bool memoCode = options.MEMO == "KKK";
    thread_local std::string normalized;
    std::string_view text = line;
    switch (Normalize(line, quietUntil, options, memoCode, normalized)) {
    case TLineShape::NoUrl:
        return;
    case TLineShape::Spaced:
        text = normalized;
        break;
    case TLineShape::AsWritten:
        break;
    }
    const TFieldRules rules(options, memoCode, sink);
    recognizer::ScanFields(text, [&](std::string_view field) {
        rules.Recognize(field);
        return true;
    });
}

void ExtractUrlsFromLine(std::string_view line, const TExtractOptions& options, TUrlList& list)
{
    TUrlListSink sink(list);
    RecognizeLine(line, 0, options, sink);
}

void ExtractUrlsFromLine(std::string_view line, const TExtractOptions& options, TUrlSink& sink)
{
    RecognizeLine(line, 0, options, sink);
}
