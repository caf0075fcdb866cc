#include "Engine.h"
#include "FieldRules.h"
#include "RecognizerScan.h"

#include <cstring>
#include <string>
#include <type_traits>
#include <vector>

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
// Inlined by force, as are HasAt and FindSpacings: with a caller per kind
// of line the compiler would no longer do it, at a cost to every line.
[[gnu::always_inline]] inline std::string_view SchemeEndingAt(std::string_view line, std::size_t colon,
                                                              std::size_t from)
{
    for (std::string_view scheme : Schemes) {
        const std::size_t nameLength = scheme.size() - 3;
        if (colon - from < nameLength || LowerAscii(line[colon - 1]) != scheme[nameLength - 1])
            continue;
        if (EqualsIgnoringCase(line.substr(colon - nameLength, nameLength), scheme.substr(0, nameLength)))
            return scheme;
    }
    return {};
}

[[gnu::always_inline]] inline bool HasAt(std::string_view line, std::size_t i, std::string_view pattern)
{
    return line.size() - i >= pattern.size() && line.compare(i, pattern.size(), pattern) == 0;
}

// A character Shift_JIS cannot hold becomes a percent-encoding in the
// line's Shift_JIS copy, and when its last hex digit is "F" and "tp://"
// follows, that copy holds "ftp://" where the UTF-8 bytes hold none. Rare
// enough that such a line is simply read as its copy.
template <class Kind> bool MayEndInFtp(const unsigned char* bytes, std::size_t colon)
{
    return std::is_same_v<Kind, linekinds::TUtf8> && colon >= 3
           && LowerAscii(static_cast<char>(bytes[colon - 1])) == 'p'
           && LowerAscii(static_cast<char>(bytes[colon - 2])) == 't' && bytes[colon - 3] >= 0x80
           && (bytes[colon - 3] & 0x0F) == 0x0F;
}

// Scheme spacing, the "://" rule and the "../" spacing in one pass over the
// ":" and "." bytes, as a list of changes. The steps cannot interact: no
// pattern overlaps another, inserted text holds no new match, and each
// insertion is ASCII placed where a character begins, so the byte kinds of
// the rest stay put.
//
// The same pass returns false when no rule could accept any field: every
// accepted field holds one of the trigger texts as raw bytes, which
// Japanese text itself never holds; kana typed for them are the exception.
// asShiftJis: the line must be read as its Shift_JIS copy (MayEndInFtp).
template <class Kind>
[[gnu::always_inline]] inline bool FindSpacings(std::string_view line, const recognizer::TLineMasks& masks,
                                                const TExtractOptions& options,
                                                std::vector<recognizer::TSpacing>& spacings, bool& asShiftJis)
{
    const auto* bytes = reinterpret_cast<const unsigned char*>(line.data());
    const std::size_t length = line.size();
    const bool wwwDots = options.WwwRule || options.MemoLine == "KKK";
    bool mayHold = options.KanaConversion
                   || ((options.RootPathRule || options.SlashDotRule) && std::memchr(bytes, '/', length));
    typename Kind::TKinds kinds(line);
    std::size_t copied = 0;
    spacings.clear();
    // Dots matter to the "../" spacing; to the www rules only while no "://"
    // has shown that the line needs a closer look anyway.
    const bool dots = options.ParentPathRule;
    auto candidateFrom = [&](std::size_t from) {
        return dots ? masks.NextColonOrDot(from) : masks.NextColon(from);
    };
    for (std::size_t next = candidateFrom(0); next < length; next = candidateFrom(next + 1)) {
        if (next < copied)
            continue;
        if (bytes[next] == '.') {
            if (options.ParentPathRule && HasAt(line, next, "../")) {
                mayHold = true;
                if (!kinds.IsSecondAt(next)) {
                    spacings.push_back({next, next + 3, {}, "../"});
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
        if (scheme.empty() && MayEndInFtp<Kind>(bytes, next)) {
            asShiftJis = true;
            return true;
        }
        const std::size_t start = next - (scheme.empty() ? 0 : scheme.size() - 3);
        if (!scheme.empty() && !kinds.IsSecondAt(start)) {
            if (options.SchemeRule)
                spacings.push_back({start, next + 3, scheme.substr(0, scheme.size() - 3), "http://"});
            else
                spacings.push_back({start, next + 3, {}, scheme});
            copied = next + 3;
        } else if (options.SchemeRule && !kinds.IsSecondAt(next)) {
            spacings.push_back({next, next + 3, {}, "http://"});
            copied = next + 3;
        }
    }
    if (!mayHold && wwwDots && !dots)
        mayHold = masks.NextWw(0) != std::string_view::npos;
    return mayHold;
}

// A quote that is a second byte opens a quoted field, which the field loop
// can follow over spacings only in the spaced text itself. It needs a lead
// value right before it; in UTF-8 no quote is a second byte.
template <class Kind> bool MayOpenQuotedField(std::string_view line, const recognizer::TLineMasks& masks)
{
    if (std::is_same_v<Kind, linekinds::TUtf8> || !masks.HasQuote())
        return false;
    const auto* bytes = reinterpret_cast<const unsigned char*>(line.data());
    for (std::size_t p = masks.NextSpecial(1); p < line.size(); p = masks.NextSpecial(p + 1))
        if (bytes[p] == '"' && sjis::LeadTable[bytes[p - 1]])
            return true;
    return false;
}

std::string Spaced(std::string_view line, const std::vector<recognizer::TSpacing>& spacings)
{
    std::string out;
    std::size_t copied = 0;
    for (const recognizer::TSpacing& spacing : spacings) {
        out.append(line.substr(copied, spacing.Start - copied)).push_back(' ');
        if (!spacing.Name.empty())
            out.append(spacing.Name).push_back(' ');
        out.append(spacing.Tail);
        copied = spacing.End;
    }
    return out.append(line.substr(copied));
}

template <class Kind> void ExtractUrls(std::string_view line, const TExtractOptions& options, TUrlSink& sink)
{
    thread_local recognizer::TLineMasks masks;
    thread_local std::vector<recognizer::TSpacing> spacings;
    masks.Compute(line);
    bool asShiftJis = false;
    if (!FindSpacings<Kind>(line, masks, options, spacings, asShiftJis))
        return;
    if constexpr (std::is_same_v<Kind, linekinds::TUtf8>) {
        if (asShiftJis) {
            std::string copy(3 * line.size(), '\0');
            copy.resize(Utf8ToShiftJisAt(line, copy.data()));
            return ExtractUrls<linekinds::TShiftJis>(copy, options, sink);
        }
    }
    const TFieldRules<Kind> rules(options, sink);
    const auto onField = [&](std::string_view tail, std::string_view value) {
        rules.Recognize(tail, value);
        return true;
    };
    const bool quotedFields = MayOpenQuotedField<Kind>(line, masks);
    // Without the rules that look inside a field or at its converted text,
    // only fields after a spacing and www fields can be accepted.
    if (!quotedFields && !options.KanaConversion && !options.RootPathRule && !options.SlashDotRule)
        return recognizer::ScanPrefixedFields<Kind>(line, masks, spacings, onField);
    if constexpr (std::is_same_v<Kind, linekinds::TUtf8>) {
        masks.ComputeUtf8Triggers(line, options.KanaConversion);
        return recognizer::ScanTriggeredFields(line, masks, spacings, onField);
    }
    if (spacings.empty() || !quotedFields)
        return recognizer::ScanFields<Kind>(line, masks, spacings, onField);
    // Rare: split the spaced line itself.
    const std::string spaced = Spaced(line, spacings);
    recognizer::TLineMasks spacedMasks;
    spacedMasks.Compute(spaced);
    recognizer::ScanFields<Kind>(spaced, spacedMasks, {}, onField);
}

}  // namespace

void ExtractUrlsFromLine(std::string_view line, const TExtractOptions& options, TUrlList& list)
{
    TUrlListSink sink(list);
    ExtractUrlsFromLine(line, options, sink);
}

void ExtractUrlsFromLine(std::string_view line, const TExtractOptions& options, TUrlSink& sink)
{
    ExtractUrls<linekinds::TShiftJis>(line, options, sink);
}

void ExtractUrlsFromUtf8Line(std::string_view line, const TExtractOptions& options, TUrlSink& sink)
{
    ExtractUrls<linekinds::TUtf8>(line, options, sink);
}
